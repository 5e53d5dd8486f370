#pragma once

#include <QString>

namespace util {

// The program folder as a drive path, without a trailing "\" (a drive
// root gives "C:"). When the current drive table does not reach the host
// folder, the table gets a drive for it (the last free letter from Z:).
QString ProgramFolder();

// The program folder as a host path.
QString HostProgramFolder();

// The drive path of an absolute host path (a file or a folder). When no
// drive of the current table reaches it, the table gets a drive rooted at
// `driveRoot` (the last free letter from Z:). Empty when no letter is free.
QString DrivePathOfHostPath(const QString& hostPath, const QString& driveRoot);

}  // namespace util
