#include "store/backup_time.h"

#include "util/numbers.h"

#include <QDate>
#include <QTime>

namespace store {
namespace {

// The value of `count` ASCII digits at `from`; -1 when one is not a digit.
int Digits(QStringView text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

void AppendDigits(QString& out, int value, int count) {
    QChar digits[4];
    for (int i = count - 1; i >= 0; --i) {
        digits[i] = QChar(char16_t(u'0' + value % 10));
        value /= 10;
    }
    out.append(digits, count);
}

}  // namespace

BackupTime BackupTime::At(const QDateTime& time) { return FromText(util::FormatDateTime(time)); }

BackupTime BackupTime::FromText(QStringView text) {
    BackupTime result;
    if (text.size() == util::kDateTimeLength) {
        if (text == util::kNeverBackedUp) return result;
        const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
        const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
        if (text[4] == u'/' && text[7] == u'/' && text[10] == u' ' && text[13] == u':' &&
            month >= 0 && day >= 0 && hour >= 0 && minute >= 0 &&
            QDate::isValid(year, month, day) && QTime::isValid(hour, minute, 0)) {
            result.kind_ = Kind::Minute;
            result.year_ = year;
            result.month_ = month;
            result.day_ = day;
            result.hour_ = hour;
            result.minute_ = minute;
            return result;
        }
    }
    result.kind_ = Kind::Unreadable;
    result.unreadable_ = text.toString();
    return result;
}

std::optional<QDateTime> BackupTime::When() const {
    if (kind_ == Kind::Never) return std::nullopt;
    // Read as every stored time is read: a local time a daylight-saving
    // change skipped is the parser's to judge.
    const QDateTime time = util::ParseDateTime(Text());
    if (!time.isValid()) return std::nullopt;
    return time;
}

QString BackupTime::Text() const {
    switch (kind_) {
        case Kind::Never:
            return util::kNeverBackedUp;
        case Kind::Unreadable:
            return unreadable_;
        case Kind::Minute:
            break;
    }
    QString text;
    text.reserve(util::kDateTimeLength);
    AppendDigits(text, year_, 4);
    text += u'/';
    AppendDigits(text, month_, 2);
    text += u'/';
    AppendDigits(text, day_, 2);
    text += u' ';
    AppendDigits(text, hour_, 2);
    text += u':';
    AppendDigits(text, minute_, 2);
    return text;
}

}  // namespace store
