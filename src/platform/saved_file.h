#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Writes `bytes` to the host file `path` through a temporary file in the same
// folder that is flushed to disk and renamed over the old file. On failure the
// old file is untouched, no temporary file remains, and `error` (optional)
// says why.
bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace platform
