#pragma once

#include "engine/engine_ui.h"

#include <QMessageBox>

#include <memory>

namespace engine::windows {

// What the platform's standard message box is asked to show.
struct StandardBoxRequest {
    QString text;  // "\n", "\r\n" and "\r" break lines
    util::Buttons buttons = util::Buttons::Ok;
    int defaultAnswer = util::kAnswerOk;
    MessageIcon icon = MessageIcon::None;
};

// The standard message box, built but not shown: titled with the program's
// title, plain text, the asked default button, and kept above every other
// window when the environment check's message style holds 4096.
std::unique_ptr<QMessageBox> MakeStandardBox(const StandardBoxRequest& request,
                                             QWidget* parent = nullptr);

// Shows a box made by MakeStandardBox, waits for it, and returns the answer
// (1 OK, 2 Cancel, 6 Yes, 7 No). Closed without a button, it answers what
// changes nothing.
int RunStandardBox(QMessageBox& box, util::Buttons buttons);

}  // namespace engine::windows
