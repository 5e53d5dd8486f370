#pragma once

#include "platform/path_kinds.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

namespace platform {

// The largest settings or definition file read; such files are a few
// kilobytes, and anything near this size is not one.
inline constexpr qint64 kLargestReadFile = 64 * 1024 * 1024;

enum class ReadStatus { Read, Missing, Refused };

// Reads a whole host file that must be a regular file of at most
// kLargestReadFile bytes. It is opened without waiting (a FIFO or a device in
// its place is refused, never waited on). Refused: `error` says why in the
// user's words.
ReadStatus ReadRegularFile(const HostPath& hostPath, QByteArray& bytes, QString* error = nullptr);

// Opens a host file for reading into `file` (through the host name mapping,
// without waiting on a FIFO or device); false unless it is a regular file.
bool OpenRegularFile(const HostPath& hostPath, QFile& file);

// Opens a host file for appending into `file`, made when missing, unbuffered so that each
// write goes to the file whole; false with `error` (the reason) unless it is a regular file.
bool OpenRegularFileToAppend(const HostPath& hostPath, QFile& file, QString& error);

// What tells one version of a file from another: a file replaced or written
// since gets another identity.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of a host file as it is now; nullopt when it cannot be examined.
std::optional<FileIdentity> IdentityOf(const HostPath& hostPath);

}  // namespace platform
