#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace platform {

// The system's stored text files are in Windows code page 932. A text that the
// code page cannot carry is written in UTF-8 instead, never damaged, and
// begins with a UTF-8 byte-order mark so that it is never taken for CP932.

// The text in code page 932, or nothing when some character has no mapping.
std::optional<QByteArray> ToCp932(const QString& text);

// Code page 932 when the text fits, otherwise the byte-order mark and UTF-8.
// `asciiHead`, the same bytes in either encoding, is put before the text.
QByteArray EncodeStoredText(const QString& text, QByteArrayView asciiHead = {});

// Bytes behind a UTF-8 byte-order mark are UTF-8 (the mark is dropped).
// Without the mark: UTF-8 when valid and holding a character of three or four
// bytes (Japanese typed in a UTF-8 editor); else code page 932 when the bytes
// decode as such; else UTF-8 when valid; else code page 932 with damage.
// `damaged` (optional) is set when some bytes could not be decoded; they come
// back as U+FFFD.
QString DecodeStoredText(const QByteArray& bytes, bool* damaged = nullptr);

// How many bytes the text takes in code page 932 (a character without a
// mapping counts as its UTF-8 length).
int Cp932ByteLength(const QString& text);

}  // namespace platform
