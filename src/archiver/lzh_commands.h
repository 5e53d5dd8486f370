// The Unlha commands: update, delete-missing and test of an LZH archive.
#pragma once

#include <string>

#include "archiver/command_line.h"

namespace archiver {

int RunUnlhaCommand(const UnlhaCommand& command, std::string& output, MemberCounts& counts);

}  // namespace archiver
