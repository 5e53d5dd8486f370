#include "engine/windows/standard_box.h"

#include "util/environment.h"
#include "util/line_breaks.h"

#include <QPushButton>

#include <utility>
#include <vector>

namespace engine::windows {
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

}  // namespace

std::unique_ptr<QMessageBox> MakeStandardBox(const StandardBoxRequest& request, QWidget* parent) {
    const QMessageBox::Icon icon =
        request.icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    auto box = std::make_unique<QMessageBox>(icon, util::ProgramTitle(),
                                             util::WithLineBreaks(request.text),
                                             QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("StandardBox"));
    box->setTextFormat(Qt::PlainText);
    const auto buttons = ButtonsOf(request.buttons);
    for (const auto& [button, answer] : buttons) {
        box->addButton(button);
        if (answer == request.defaultAnswer) box->setDefaultButton(button);
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

}  // namespace engine::windows
