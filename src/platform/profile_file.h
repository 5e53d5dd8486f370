#pragma once

#include "platform/path_kinds.h"

#include <QList>
#include <QPair>
#include <QString>

namespace platform {

class ProfileLock;

// Windows profile (INI) files on host paths. Sections and keys compare without
// regard to ASCII case; the first matching section and key win; values are
// trimmed and lose one pair of enclosing double quotes; lines starting with
// ";" are comments. Text is stored in code page 932 (UTF-8 when it cannot be).

// The value, cut to its first 254 bytes in the stored code page; empty when the
// file, section or key is missing.
QString ReadProfileString(const HostPath& file, const QString& section, const QString& key);

// Every key of the first matching section with its value, in file order.
QList<QPair<QString, QString>> ReadProfileSection(const HostPath& file, const QString& section);

// The same from the bytes of a profile file.
QList<QPair<QString, QString>> ParseProfileSection(const QByteArray& bytes, const QString& section);

// Replaces the key's line in place, or adds the key at the end of its section,
// or the section at the end of the file. Lines end in CR LF. The file is
// replaced atomically; on failure it is untouched and `error` says why.
// Writers hold the file's ProfileLock, so that two processes changing the
// same file never lose each other's keys.
bool WriteProfileString(const HostPath& file, const QString& section, const QString& key,
                        const QString& value, QString* error = nullptr);

// Sets several keys of one section in one atomic write, as WriteProfileString
// sets one. The caller holds `lock` on `file` (it may have read the file under
// the same lock and decided on the keys from what it read).
bool WriteProfileKeys(const ProfileLock& lock, const HostPath& file, const QString& section,
                      const QList<QPair<QString, QString>>& keys, QString* error = nullptr);

// The longest value a read returns, in bytes of the stored code page.
inline constexpr int kProfileValueBytes = 254;

}  // namespace platform
