#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <optional>

namespace platform {

// Windows file attributes as the system uses them. Read-only is the absence of
// the owner's write permission; hidden and system are the FAT attribute bits
// on vfat and absent elsewhere.
enum Attribute : unsigned {
    kReadOnly = 0x01,
    kHidden = 0x02,
    kSystem = 0x04,
    kDirectory = 0x10,
    kArchive = 0x20,
};
inline constexpr unsigned kProtectingAttributes = kReadOnly | kHidden | kSystem;

// Attributes of a host path (a link is read through); nothing when it is gone.
std::optional<unsigned> ReadAttributes(const HostPath& hostPath);

// Sets read-only, hidden and system as given (the others are ignored).
// Hidden and system can only be set on vfat; elsewhere they are dropped
// silently. False when the change was refused.
bool WriteAttributes(const HostPath& hostPath, unsigned attributes);

// The FAT attribute bits of an open file on vfat, or nothing elsewhere.
std::optional<unsigned> ReadFatAttributes(int fd);

}  // namespace platform

namespace platform {

// File systems whose times are coarser than the host's: FAT keeps
// modification times in 2-second steps and in local time.
bool OnFatFileSystem(const HostPath& hostPath);
// The same for a file system type as statfs reports it (f_type).
bool FatFileSystemType(long type);

}  // namespace platform
