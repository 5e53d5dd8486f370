#pragma once

#include <QString>

namespace platform {

// The host folder of the running program: the folder named by the environment
// variable KIBAKO_HOME when it is set, else the folder of the executable.
QString HostProgramFolder();

}  // namespace platform
