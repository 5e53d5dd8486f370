#pragma once

#include "platform/path_kinds.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

// The one mapping between the bytes of a host file name or path and the text
// the rest of the program carries. Linux allows any bytes in a name (a
// Shift_JIS name from an old disk is common), so the mapping must lose none:
// valid UTF-8 decodes as usual, and each byte that is not part of valid UTF-8
// becomes one reserved code point, U+DC80 + (byte - 0x80), a lone low
// surrogate that no decoded text holds, and turns back into the same byte.
// Every host name or path turned into text, and every one turned back for a
// system call, goes through these functions. A name never holds a NUL byte.

// The text of host bytes; never fails.
QString HostText(QByteArrayView bytes);

// The bytes a text stands for, or nothing when it stands for no host name:
// a NUL, a lone surrogate outside U+DC80..U+DCFF, or escaped bytes that together read
// as valid UTF-8 (the same bytes decode to other text, so the text names
// nothing the listing could have given). Texts from HostText always encode.
std::optional<QByteArray> HostBytesOf(QStringView text);

// HostBytesOf for a system call: the empty path for a text that stands for no
// host name, which every call refuses (ENOENT) without touching anything.
QByteArray HostBytes(QStringView text);
inline QByteArray HostBytes(const HostPath& path) { return HostBytes(path.text()); }

// Whether a code unit is one escaped byte.
constexpr bool IsEscapedByte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

// Whether a text holds escaped bytes (was not valid UTF-8 on the host).
bool HoldsEscapedBytes(QStringView text);

// A text fit for a grid: each escaped byte is shown as "?".
QString DisplayText(const QString& text);

// A text fit for a message naming a file: as it is when it holds no escaped
// bytes; otherwise DisplayText followed by the host bytes of its last
// component in hexadecimal, so that two names that show alike are still told
// apart ("C:\old\??e.txt [83 65 2E 74 78 74]").
QString MessageText(const QString& text);

}  // namespace platform
