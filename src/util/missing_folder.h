#pragma once

#include "platform/path_kinds.h"

#include <QString>

namespace util {

// Why a folder that a backup reads cannot be reached, for the standard
// message box: its drive letter has no drive, its drive is not ready, its
// host path is longer than the system allows, or it is not there.
QString MissingFolderText(const platform::DrivePath& folder);

}  // namespace util
