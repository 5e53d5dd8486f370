#pragma once

#include "util/program_options.h"

// Tetoru's command line, read alike by tetoru and by its window program.
namespace tetoru {

extern const util::OptionSpec kStatusOption;
extern const util::OptionSpec kMaxAgeOption;
extern const util::ProgramSpec kProgram;

util::CommandLine ReadCommandLine(int argc, char* argv[]);

}  // namespace tetoru
