#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <optional>

// Moving files within one file system, for the history of replaced backups:
// nothing here copies data.
namespace platform {

// A second name for the file `from` at `to` (link(2)); 0, or the errno of the
// failure (EPERM on file systems without links, EEXIST when `to` exists).
int LinkHostFile(const HostPath& from, const HostPath& to);

// rename(2) of `from` to `to`, refusing to replace anything at `to`; 0, or
// the errno (EXDEV when the two are on different file systems).
int MoveHostFile(const HostPath& from, const HostPath& to);

// The file system holding the path (its st_dev); nothing when it cannot be
// examined.
std::optional<quint64> FileSystemOf(const HostPath& hostPath);

// Whether the two paths name one file (the same inode, links followed); false
// when either cannot be examined.
bool SameHostFile(const HostPath& first, const HostPath& second);

// Removes a file, or a folder with everything in it, without following
// links. False when anything is left.
bool RemoveHostTree(const HostPath& hostPath);

}  // namespace platform
