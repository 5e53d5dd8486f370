#pragma once

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
std::optional<QString> ToHostPath(const QString& drivePath);

// The host path as the Windows-style path is written, without a look at the
// disk: what ToHostPath gives whenever the path exists as written.
std::optional<QString> HostPathAsWritten(const QString& drivePath);

// ToHostPath together with what its look at the path found there (without
// following a link in the last component); a drive root is not looked at.
struct HostLook {
    enum class Kind { Unknown, Nothing, Folder, Link, Other };
    std::optional<QString> path;
    Kind found = Kind::Unknown;
};
HostLook LookUpHostPath(const QString& drivePath);

// What is at a host path, without following a link there; Unknown when the
// look itself failed (other than for a missing path).
HostLook::Kind LookAtHostPath(const QString& hostPath);

// Creates one host folder level (the parent must exist); 0 or the errno.
// Folders made here need no listing for later lookups of other-case names.
int MakeHostFolder(const QString& hostFolder);

// The drive path of a host path: the drive whose root holds it (the
// longest root wins), then the rest with "\" separators. A drive root comes
// back as "X:\".
std::optional<QString> ToDrivePath(const QString& hostPath);

}  // namespace platform
