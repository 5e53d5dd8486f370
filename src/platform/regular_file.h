#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The largest settings or definition file read; such files are a few
// kilobytes, and anything near this size is not one.
inline constexpr qint64 kLargestReadFile = 64 * 1024 * 1024;

enum class ReadStatus { Read, Missing, Refused };

// Reads a whole host file that must be a regular file of at most
// kLargestReadFile bytes. It is opened without waiting (a FIFO or a device in
// its place is refused, never waited on). Refused: `error` says why in the
// user's words.
ReadStatus ReadRegularFile(const QString& hostPath, QByteArray& bytes, QString* error = nullptr);

}  // namespace platform
