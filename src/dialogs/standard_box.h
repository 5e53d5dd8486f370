#pragma once

#include <QString>

class QWidget;

namespace dialogs {

// The platform's standard message box (QMessageBox), modal, with flags in the
// Windows form: low four bits the buttons (0 OK, 1 OK/Cancel, 2
// Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel), 0x10 to 0x40
// the icon, 0x100/0x200 the default button. Returns 1 OK, 2 Cancel, 3 Abort,
// 4 Retry, 5 Ignore, 6 Yes, 7 No. The text is shown as given.
int ShowStandardBox(QWidget* parent, const QString& text, int flags, const QString& title);

}  // namespace dialogs
