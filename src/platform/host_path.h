#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <optional>

namespace platform {

// A drive path (a drive letter, a colon and "\"-separated components, the
// way the system writes every path: "C:\home\hana\写真") on the host, through
// the current drive table. Each component that does not exist as written is matched
// without regard to the case of ASCII letters (an exact match always wins;
// among several inexact ones the first in byte order); components that match
// nothing are kept as written, so the result can name something to create.
// Nothing for a network path, a path without a drive letter, an unmapped
// drive, or a "." or ".." component.
std::optional<HostPath> ToHostPath(const DrivePath& drivePath);

// The host path as the Windows-style path is written, without a look at the
// disk: what ToHostPath gives whenever the path exists as written.
std::optional<HostPath> HostPathAsWritten(const DrivePath& drivePath);

// ToHostPath together with what its look at the path found there (without
// following a link in the last component); a drive root is not looked at.
struct HostLook {
    enum class Kind { Unknown, Nothing, Folder, Link, Other };
    std::optional<HostPath> path;
    Kind found = Kind::Unknown;
};
HostLook LookUpHostPath(const DrivePath& drivePath);

// The entry `name` of the host folder `folder` (a folder LookUpHostPath gave),
// looked up as LookUpHostPath looks up the drive path of the folder and "\"
// and the name: the name as written when it is there, else the name in that
// folder that matches it without regard to ASCII case, else the name as
// written with nothing found. A walk down a tree resolves each level this way
// from the level above, without going back to the drive path.
HostLook LookUpHostEntry(const HostPath& folder, const QString& name);

// What is at a host path, without following a link there; Unknown when the
// look itself failed (other than for a missing path).
HostLook::Kind LookAtHostPath(const HostPath& hostPath);

// Whether a folder is at a host path, a link to one counting (a drive's root,
// which a mount point may name in bytes that are not UTF-8).
bool HostFolderIsThere(const HostPath& hostPath);

// Creates one host folder level (the parent must exist); 0 or the errno.
// Folders made here need no listing for later lookups of other-case names.
int MakeHostFolder(const HostPath& hostFolder);

// The drive path of a host path: the drive whose root holds it (the
// longest root wins), then the rest with "\" separators. A drive root comes
// back as "X:\".
std::optional<DrivePath> ToDrivePath(const HostPath& hostPath);

// A host path as the windows name files: its drive path where a drive holds
// it, else the host path; a name with bytes that are not UTF-8 is shown with
// them (MessageText), never as its drive path.
QString ShownPath(const HostPath& hostPath);

}  // namespace platform
