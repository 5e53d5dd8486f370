#pragma once

#include "platform/path_kinds.h"

#include <QByteArray>
#include <QString>

namespace platform {

// Writes `bytes` to the host file `path` through a temporary file in the same
// folder (see temporary_names.h) that is flushed to disk and renamed over the
// old file; stale temporaries of killed runs in that folder are removed
// first. A failed write, flush or rename leaves the old file untouched and no
// temporary file behind, and returns false with `error` (optional) naming the
// file and the reason.
bool SaveFileAtomically(const HostPath& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace platform
