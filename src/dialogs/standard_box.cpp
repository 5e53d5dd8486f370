#include "dialogs/standard_box.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace dialogs {
namespace {

using Button = QMessageBox::StandardButton;

std::vector<std::pair<Button, int>> ButtonsOf(int flags) {
    switch (flags & 0xF) {
        case 1:
            return {{QMessageBox::Ok, 1}, {QMessageBox::Cancel, 2}};
        case 2:
            return {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}};
        case 3:
            return {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}, {QMessageBox::Cancel, 2}};
        case 4:
            return {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}};
        case 5:
            return {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, 2}};
        default:
            return {{QMessageBox::Ok, 1}};
    }
}

QMessageBox::Icon IconOf(int flags) {
    switch (flags & 0xF0) {
        case 0x10:
            return QMessageBox::Critical;
        case 0x20:
            return QMessageBox::Question;
        case 0x30:
            return QMessageBox::Warning;
        case 0x40:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// The answer when the box is closed without a button: Cancel when there is
// one, else the only button's answer, else No.
int EscapeAnswer(const std::vector<std::pair<Button, int>>& buttons) {
    for (const auto& [button, answer] : buttons) {
        if (answer == 2) return 2;
    }
    return buttons.size() == 1 ? buttons.front().second : 7;
}

}  // namespace

int ShowStandardBox(QWidget* parent, const QString& text, int flags, const QString& title) {
    QMessageBox box(IconOf(flags), title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    const auto buttons = ButtonsOf(flags);
    for (const auto& [button, answer] : buttons) box.addButton(button);

    size_t defaultIndex = 0;
    if ((flags & 0x100) != 0 && buttons.size() >= 2) defaultIndex = 1;
    if ((flags & 0x200) != 0 && buttons.size() >= 3) defaultIndex = 2;
    box.setDefaultButton(buttons[defaultIndex].first);

    const int clicked = box.exec();
    for (const auto& [button, answer] : buttons) {
        if (clicked == button) return answer;
    }
    return EscapeAnswer(buttons);
}

}  // namespace dialogs
