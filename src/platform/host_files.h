#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <optional>

namespace platform {

// Removes one host file (not a folder); false when it is still there or
// cannot be reached.
bool RemoveHostFile(const HostPath& hostPath);

// Removes one empty host folder; false when it is not empty or is refused.
bool RemoveHostFolder(const HostPath& hostFolder);

// Removes the symbolic links directly in a host folder (never what they
// point to), so that the folder can be removed once its files are gone.
void RemoveLinksIn(const HostPath& hostFolder);

// Creates a host folder and any missing parents; true when it is a folder now.
bool MakeHostFolderTree(const HostPath& hostFolder);

// The bytes an unprivileged writer may still use on the file system that
// holds `hostFolder`; nothing when it cannot be examined.
std::optional<qint64> FreeBytesOf(const HostPath& hostFolder);

}  // namespace platform
