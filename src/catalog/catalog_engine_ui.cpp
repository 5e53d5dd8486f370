#include "catalog/catalog_engine_ui.h"

#include <QApplication>
#include <QLabel>

#include "dialogs/beep.h"
#include "dialogs/input_dialog.h"
#include "dialogs/message_box.h"
#include "dialogs/standard_box.h"

namespace kibako::catalog {
namespace {

int FlagsOf(util::Buttons buttons, int defaultAnswer) {
    switch (buttons) {
        case util::Buttons::OkCancel:
            return 1 | (defaultAnswer == util::kAnswerCancel ? 0x100 : 0);
        case util::Buttons::YesNo:
            return 4 | (defaultAnswer == util::kAnswerNo ? 0x100 : 0);
        case util::Buttons::YesNoCancel:
            return 3 | (defaultAnswer == util::kAnswerNo       ? 0x100
                        : defaultAnswer == util::kAnswerCancel ? 0x200
                                                               : 0);
        case util::Buttons::Ok:
            break;
    }
    return 0;
}

}  // namespace

int CatalogEngineUi::StandardMessage(const QString& text, util::Buttons buttons,
                                     int defaultAnswer) {
    const int answer = dialogs::ShowStandardBox(owner_, text, FlagsOf(buttons, defaultAnswer),
                                                util::ProgramTitle());
    return answer == 0 ? util::AnswerChangingNothing(buttons) : answer;
}

void CatalogEngineUi::Beep() { dialogs::Beep(); }

void CatalogEngineUi::ShowProgress() { SetBusyCursor(true); }

void CatalogEngineUi::HideProgress() {
    SetStatus(QString());
    SetBusyCursor(false);
}

void CatalogEngineUi::SetSourceText(const QString& text) { SetStatus(u' ' + text); }

void CatalogEngineUi::LetEventsRun() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CatalogEngineUi::SetBusyCursor(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

int CatalogEngineUi::AskOlderFile(const engine::OlderFileQuestion& question) {
    const QString text = QChar(8) + question.fileName + QChar(7) +
                         QStringLiteral(" は、バックアップより古いファイルです||上書きしますか？");
    return dialogs::ShowMessage(owner_, text, dialogs::kMsgYesNo);
}

std::optional<QString> CatalogEngineUi::AskText(const QString& prompt, const QString& title,
                                                const QString& defaultText) {
    return dialogs::InputDialog(owner_, prompt, title, defaultText);
}

void CatalogEngineUi::SetStatus(const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(status_.data())) label->setText(text);
}

}  // namespace kibako::catalog
