// The Unlha commands: update, delete-missing and test of an LZH archive.
#pragma once

#include <string>

#include "archiver/command_line.h"

namespace archiver {

// Runs the command and returns its code; the message, the counts and any passed-over files
// go into `result`.
int RunUnlhaCommand(const UnlhaCommand& command, CommandResult& result);

}  // namespace archiver
