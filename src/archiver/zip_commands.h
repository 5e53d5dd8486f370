// The Zip update command.
#pragma once

#include <string>

#include "archiver/command_line.h"

namespace archiver {

int RunZipCommand(const ZipCommand& command, std::string& output, MemberCounts& counts);

}  // namespace archiver
