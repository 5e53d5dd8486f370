#pragma once

#include <string>

namespace tetoru {

// The program that runs Tetoru with its progress window: beside tetoru in a
// build folder, in the library-executables folder where it is installed.
// Empty when neither holds it.
std::string WindowProgramPath();

// Replaces this process with the window program, given the same command line
// (`arguments`, argv of main). Returns only when that program cannot be
// started, after saying why on standard error.
void StartWindowProgram(char* arguments[]);

}  // namespace tetoru
