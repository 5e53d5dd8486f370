#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <functional>

namespace platform {

struct CopyOutcome {
    bool ok = false;
    int errorNumber = 0;         // errno of the failure
    QString description;         // the platform's words for it
    bool sourceChanged = false;  // size or time of the source changed while it was copied
};

// Called between chunks with the bytes copied so far and the file's size.
using CopyProgress = std::function<void(qint64 done, qint64 total)>;

// Copies a host file to a host target, reading through a link to a file. The
// copy gets the source's permission bits and the modification time the source
// had before the copy began (to the nanosecond). When the source's size or
// time changed while it was read, the copy is kept but stamped
// kChangedCopyAgeSeconds older than that, so that the next run copies it
// again whatever precision its times are compared at. Anything but a regular
// file is refused (EINVAL) without waiting on it. The data goes to a temporary file
// beside the target that is renamed over the target only when complete: on
// failure the old target is untouched and no partial file remains.
//
// With ExistingTarget::Keep a file already at the target is never replaced:
// the copy fails with EEXIST, as it does where the file system cannot rename
// without replacing; the caller may then look at the target and decide.
enum class ExistingTarget { Replace, Keep };
CopyOutcome CopyHostFile(const HostPath& source, const HostPath& target,
                         const CopyProgress& progress = {},
                         ExistingTarget existing = ExistingTarget::Replace);

inline constexpr int kChangedCopyAgeSeconds = 10;

// Bytes copied between two progress calls.
inline constexpr qint64 kCopyChunkBytes = 4 * 1024 * 1024;

}  // namespace platform
