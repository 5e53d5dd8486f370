#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace util {

// Decimal digits of the value, zero-padded on the left and cut to exactly
// `width` characters from the right (2001 with width 2 gives 01).
QString ZeroPad(qint64 value, int width);

// Eight upper-case hexadecimal digits.
QString Hex8(std::uint32_t value);

// The 0-based position of the last occurrence of `search` that starts at or
// before `limit`; -1 when there is none.
qsizetype FindLast(qsizetype limit, const QString& text, const QString& search);

// Decimal with "," every three digits and "-" for negatives.
QString FormatNumber(qint32 value);
QString FormatLargeNumber(qint64 value);

// Bytes of the text in the system code page (932).
int AnsiByteLength(const QString& text);

// The date-time text "YYYY/MM/DD hh:mm", exactly 16 characters.
QString FormatDateTime(const QDateTime& time);
// That text read back; an invalid date-time for any other text.
QDateTime ParseDateTime(const QString& text);
inline constexpr int kDateTimeLength = 16;
inline const QString kNeverBackedUp = QString(kDateTimeLength, u' ');

// The leading number of a stored value, the way the settings file's numbers
// are read: blanks around it ignored, decimal with an optional sign, or
// hexadecimal after "&H" (eight digits are a 32-bit number, so &HFFFFFFFF is
// -1); text that does not begin with a number ("False") gives 0.
qint64 LeadingNumber(const QString& value);

}  // namespace util
