#include "util/numbers.h"

#include "platform/code_page.h"

namespace util {

namespace {

const QString kDateTimeFormat = QStringLiteral("yyyy/MM/dd HH:mm");

bool IsDigits(const QString& text, qsizetype from, qsizetype count) {
    for (qsizetype i = from; i < from + count; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return false;
    }
    return true;
}

int Number(const QString& text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) value = value * 10 + (text[i].unicode() - u'0');
    return value;
}

}  // namespace

QString ZeroPad(qint64 value, int width) {
    const QString padded = QString(width, u'0') + QString::number(value < 0 ? -value : value);
    return padded.right(width);
}

QString Hex8(std::uint32_t value) {
    return QStringLiteral("%1").arg(value, 8, 16, QChar(u'0')).toUpper();
}

qsizetype FindLast(qsizetype limit, const QString& text, const QString& search) {
    if (limit < 0) return -1;
    return text.lastIndexOf(search, limit);
}

QString FormatLargeNumber(qint64 value) {
    const quint64 magnitude =
        value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    const QString digits = QString::number(magnitude);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += u',';
        grouped += digits[i];
    }
    return value < 0 ? u'-' + grouped : grouped;
}

QString FormatNumber(qint32 value) { return FormatLargeNumber(value); }

int AnsiByteLength(const QString& text) { return platform::Cp932ByteLength(text); }

QString FormatDateTime(const QDateTime& time) { return time.toString(kDateTimeFormat); }

// The text as FormatDateTime writes it is read without the general parser (a
// long list of entries is tested one by one); anything else goes to it.
QDateTime ParseDateTime(const QString& text) {
    if (text.size() != kDateTimeLength || !IsDigits(text, 0, 4) || text[4] != u'/' ||
        !IsDigits(text, 5, 2) || text[7] != u'/' || !IsDigits(text, 8, 2) || text[10] != u' ' ||
        !IsDigits(text, 11, 2) || text[13] != u':' || !IsDigits(text, 14, 2)) {
        return QDateTime::fromString(text, kDateTimeFormat);
    }
    const QDate date(Number(text, 0, 4), Number(text, 5, 2), Number(text, 8, 2));
    const QTime time(Number(text, 11, 2), Number(text, 14, 2));
    const QDateTime parsed(date, time);
    // An invalid date, or a local time that does not exist (skipped by a
    // daylight-saving change), is the parser's to judge.
    if (!parsed.isValid() || parsed.date() != date || parsed.time() != time) {
        return QDateTime::fromString(text, kDateTimeFormat);
    }
    return parsed;
}

qint64 LeadingNumber(const QString& value) {
    const QString text = value.trimmed();
    if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        qint64 number = 0;
        for (const QChar c : text.mid(2)) {
            const int digit = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
            if (digit < 0 || c.unicode() > 0x7F) break;
            number = number * 16 + digit;
            if (number > 0xFFFFFFFFLL) break;
        }
        // Eight hexadecimal digits are a 32-bit number, as the settings were written.
        return number > 0x7FFFFFFF ? number - 0x100000000LL : number;
    }
    qsizetype i = 0;
    const bool negative = i < text.size() && text[i] == u'-';
    if (negative || (i < text.size() && text[i] == u'+')) ++i;
    qint64 number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (number < 100'000'000'000'000LL) number = number * 10 + (text[i].unicode() - u'0');
    }
    return negative ? -number : number;
}

}  // namespace util
