#pragma once

#include "widgets/box_message.h"

#include <QString>

class QWidget;

namespace dialogs {

// Flags of a message: the low four bits choose the buttons; 0x100 makes the
// second button the default, 0x200 the third; 0x10 to 0x40 choose the icon of
// the standard box of the fallback. Answers are util::Answer.
inline constexpr int kMsgOk = 0;
inline constexpr int kMsgOkCancel = 1;
inline constexpr int kMsgYesNoCancel = 3;
inline constexpr int kMsgYesNo = 4;
inline constexpr int kMsgButtonMask = 0xF;
inline constexpr int kMsgDefaultSecond = 0x100;
inline constexpr int kMsgDefaultThird = 0x200;

// Shows a message in the system's own box and returns the answer once the user
// has given it. The text uses "|" as line break and the codes 0 to 8 for colour
// and bold. An empty title means the program's title. A null owner means the
// active window; with neither, the text goes to the standard box (codes as
// blanks, "|" as line breaks), which answers 0 for flags 0.
//
// The owner is disabled while the box waits in a local event loop, so other
// windows keep repainting and timers keep running. A message shown from inside
// such a wait gets a box of its own. Answers preset for tests are taken first
// (widgets/preset_answers.h).
int ShowMessage(QWidget* owner, const QString& text, int flags = kMsgOk,
                const QString& title = QString());

// A message without a title, and the standard box, take util::ProgramTitle().

// The message with its flags in typed form, as the standard box and the
// preset answers take it.
kibako::widgets::BoxMessage BoxMessageOf(const QString& text, int flags, const QString& title);

// Deletes the box when the program ends; a box that still waits answers as if
// its window had been closed.
void CloseMessageBox();

}  // namespace dialogs
