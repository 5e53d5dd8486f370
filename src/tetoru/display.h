#pragma once

#include <QStringList>

namespace tetoru {

// Whether windows can be shown: a Qt platform was named (offscreen in tests),
// or an X11 or Wayland display is there. Under cron or a systemd timer there
// is none, and Tetoru runs on the console.
bool HasDisplay();

// Tetoru with its progress window on the definition-file words of the command
// line; returns the exit status.
int RunWithProgressWindow(char* program, const QStringList& arguments);

}  // namespace tetoru
