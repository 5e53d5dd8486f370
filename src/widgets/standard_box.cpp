#include "widgets/standard_box.h"

#include "util/error_wording.h"

#include "widgets/preset_answers.h"

#include "util/environment.h"
#include "util/line_breaks.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <utility>
#include <vector>

namespace kibako::widgets {
namespace {

using Button = QMessageBox::StandardButton;

std::vector<std::pair<Button, int>> ButtonsOf(util::Buttons buttons) {
    switch (buttons) {
        case util::Buttons::Ok:
            return {{QMessageBox::Ok, util::kAnswerOk}};
        case util::Buttons::OkCancel:
            return {{QMessageBox::Ok, util::kAnswerOk}, {QMessageBox::Cancel, util::kAnswerCancel}};
        case util::Buttons::YesNo:
            return {{QMessageBox::Yes, util::kAnswerYes}, {QMessageBox::No, util::kAnswerNo}};
        case util::Buttons::YesNoCancel:
            return {{QMessageBox::Yes, util::kAnswerYes},
                    {QMessageBox::No, util::kAnswerNo},
                    {QMessageBox::Cancel, util::kAnswerCancel}};
    }
    return {{QMessageBox::Ok, util::kAnswerOk}};
}

QMessageBox::Icon IconOf(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None:
            return QMessageBox::NoIcon;
        case BoxIcon::Stop:
            return QMessageBox::Critical;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QString TitleOf(const BoxMessage& message) {
    return message.title.isEmpty() ? util::ProgramTitle() : message.title;
}

}  // namespace

std::unique_ptr<QMessageBox> MakeStandardBox(const BoxMessage& message, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(IconOf(message.icon), TitleOf(message),
                                             util::WithLineBreaks(message.text),
                                             QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("StandardBox"));
    box->setTextFormat(Qt::PlainText);
    const auto buttons = ButtonsOf(message.buttons);
    for (const auto& [button, answer] : buttons) {
        box->addButton(button);
        if (answer == message.defaultAnswer) box->setDefaultButton(button);
    }
    if (box->defaultButton() == nullptr) box->setDefaultButton(buttons.front().first);
    if ((util::CurrentEnvironment().messageStyle & util::kSystemModalStyle) != 0) {
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    return box;
}

int RunStandardBox(QMessageBox& box, util::Buttons buttons) {
    box.exec();
    const auto* clicked = qobject_cast<QAbstractButton*>(box.clickedButton());
    for (const auto& [button, answer] : ButtonsOf(buttons)) {
        if (clicked != nullptr && clicked == box.button(button)) return answer;
    }
    return util::AnswerChangingNothing(buttons);
}

int ShowStandardBox(const BoxMessage& asked, QWidget* parent, Unattended unattended) {
    BoxMessage message = asked;
    message.text = util::InJapaneseWording(asked.text);
    if (const std::optional<int> preset = presets::TakePresetAnswer(message)) return *preset;
    const auto box = MakeStandardBox(message, parent);
    QTimer selfClose;
    if (unattended.on) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(TitleOf(message)),
                     qPrintable(util::WithLineBreaks(message.text)));
        selfClose.setSingleShot(true);
        QObject::connect(&selfClose, &QTimer::timeout, box.get(), [&box] { box->done(0); });
        selfClose.start(unattended.after);
    }
    // The hourglass of a run must not hide the arrow over the buttons.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = RunStandardBox(*box, message.buttons);
    QGuiApplication::restoreOverrideCursor();
    return answer;
}

}  // namespace kibako::widgets
