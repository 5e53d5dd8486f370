#pragma once

#include <QString>

namespace util {

// The program folder in its Windows form, without a trailing "\" (a drive
// root gives "C:"). When the current drive table does not reach the host
// folder, the table gets a drive for it (the last free letter from Z:).
QString ProgramFolder();

// The program folder as a host path.
QString HostProgramFolder();

}  // namespace util
