#pragma once

#include <QString>
#include <QStringView>

// The one case rule for names and keys, the way Windows file names compare:
// only the ASCII letters a-z and A-Z change case; full-width letters and
// every other character stay as they are.
namespace platform {

constexpr char16_t AsciiFold(char16_t c) { return c >= u'a' && c <= u'z' ? c - 32 : c; }
constexpr char16_t AsciiLowerOf(char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; }
inline QChar AsciiFold(QChar c) { return QChar(AsciiFold(c.unicode())); }

// The text with a-z written A-Z.
QString AsciiFold(QStringView text);

// The two names differ at most in the case of ASCII letters.
bool SameName(QStringView a, QStringView b);

}  // namespace platform
