#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace platform {

// The system's stored text files are in Windows code page 932. A text that the
// code page cannot carry is written in UTF-8 instead, never damaged.

// The text in code page 932, or nothing when some character has no mapping.
std::optional<QByteArray> ToCp932(const QString& text);

// Code page 932 when the text fits, otherwise UTF-8.
QByteArray EncodeStoredText(const QString& text);

// Bytes are UTF-8 when they are valid UTF-8 and hold a byte above 0x7F,
// otherwise code page 932. `damaged` (optional) is set when some bytes could
// not be decoded; they come back as U+FFFD.
QString DecodeStoredText(const QByteArray& bytes, bool* damaged = nullptr);

// How many bytes the text takes in code page 932 (a character without a
// mapping counts as its UTF-8 length).
int Cp932ByteLength(const QString& text);

}  // namespace platform
