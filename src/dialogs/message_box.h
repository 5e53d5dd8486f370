#pragma once

#include "util/answer.h"
#include "widgets/box_message.h"

#include <QString>

class QWidget;

namespace dialogs {

// Shows a message in the system's own box and returns the answer once the user
// has given it: callers write ShowMessage(owner, text) or
// ShowMessage(owner, {text, buttons, defaultAnswer}). The text uses "|" as
// line break and the codes 0 to 8 for colour and bold. An empty title means
// the program's title. A null owner means the active window; with neither,
// the text goes to the standard box (codes as blanks, "|" as line breaks),
// the one place the message's icon is shown.
//
// The owner is disabled while the box waits in a local event loop, so other
// windows keep repainting and timers keep running. A message shown from inside
// such a wait gets a box of its own. Answers preset for tests are taken first
// (widgets/preset_answers.h).
util::Answer ShowMessage(QWidget* owner, const widgets::BoxMessage& message);

// A message without a title, and the standard box, take util::ProgramTitle().

// Deletes the box when the program ends; a box that still waits answers as if
// its window had been closed.
void CloseMessageBox();

}  // namespace dialogs
