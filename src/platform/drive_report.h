#pragma once

#include "platform/drive_table.h"

#include <QString>

namespace platform {

// The drive table as a person reads it before registering folders: one line
// per letter (letter, type, label, host root, where the letter comes from),
// then the mounts that found no free letter.
QString DriveReport(const DriveTable& table);

// Loads the table from the program folder's settings file as the programs do
// at start-up (remembering letters given now), and writes its report to
// standard output. Returns the exit status for the program: 0, or 1 when new
// letters could not be remembered (the reason goes to standard error).
int PrintDriveReport();

}  // namespace platform
