// The Zip update command.
#pragma once

#include <string>

#include "archiver/command_line.h"

namespace archiver {

// Runs the command and returns its code; the message, the counts and any passed-over files
// go into `result`.
int RunZipCommand(const ZipCommand& command, CommandResult& result);

}  // namespace archiver
