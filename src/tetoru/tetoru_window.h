#pragma once

#include <QStringList>

namespace tetoru {

// Tetoru with its progress window on the definition-file words of the command
// line; returns the exit status.
int RunWithProgressWindow(char* program, const QStringList& arguments);

}  // namespace tetoru
