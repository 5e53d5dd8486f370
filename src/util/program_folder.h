#pragma once

#include "platform/path_kinds.h"

#include <optional>

namespace util {

// The program folder as a drive path, without a trailing "\" (a drive
// root gives "C:"). When the current drive table does not reach the host
// folder, the table gets a drive for it (the last free letter from Z:).
platform::DrivePath ProgramFolder();

// The program folder as a host path.
platform::HostPath HostProgramFolder();

// The drive path of an absolute host path (a file or a folder). When no
// drive of the current table reaches it, the table gets a drive rooted at
// `driveRoot` (the last free letter from Z:). Nothing when no letter is free.
std::optional<platform::DrivePath> DrivePathOfHostPath(const platform::HostPath& hostPath,
                                                       const platform::HostPath& driveRoot);

}  // namespace util
