#pragma once

#include <QString>

// Case conversions. "ASCII folding" changes only the letters a-z and A-Z;
// full-width letters and every other character stay as they are.
namespace util {

QString AsciiUpper(const QString& text);
QString AsciiLower(const QString& text);

// First character upper, the rest lower (ASCII folding).
QString CapitalizeWord(const QString& text);

// Every component through CapitalizeWord, the drive letter upper:
// c:\my documents\REPORT.doc gives C:\My documents\Report.doc.
QString CapitalizePath(const QString& path);

// English title case for names: small words (and, or, of, for, in, etc.)
// stay lower, words without a vowel become upper (TXT, MP3), the rest get an
// initial capital; an empty word between commas ends the walk.
QString CapitalizeWords(const QString& text);

// Texts compared the way entry keys are: after ASCII upper-casing.
bool SameKey(const QString& a, const QString& b);

}  // namespace util
