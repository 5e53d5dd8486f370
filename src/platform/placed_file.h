// Putting a file back where it belongs: written under a temporary name beside its
// target, stamped with the time it is to carry, and renamed over the target only
// when whole, so that a target is always either the old file or the new one.
#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <functional>
#include <string>

namespace platform {

// What stands at a host path, without following a link there.
struct HostFileLook {
    enum class Kind { Nothing, File, Folder, Link, Other, Unknown };
    Kind kind = Kind::Nothing;
    qint64 size = 0;
    qint64 modifiedNs = 0;
};
HostFileLook LookAtHostFile(const HostPath& hostPath);

// Fills a new file at the host path `temporary` (which does not exist yet);
// false with `error` when it could not. A failed producer leaves no file.
using FileProducer = std::function<bool(const std::string& temporary, std::string& error)>;

// Produces the file under a temporary name beside `target` (after removing
// the stale temporaries of that folder once per folder and process), sets its
// modification time to `modifiedNs` and renames it over `target`. False with
// `error` naming the reason; the old target is then untouched and no
// temporary is left behind.
bool PlaceFile(const HostPath& target, qint64 modifiedNs, const FileProducer& produce,
               QString& error);

}  // namespace platform
