#include "store/settings.h"

#include "util/file_ops.h"
#include "util/path_names.h"

namespace store {
namespace {
const QString kSection = QStringLiteral("Options");
}

QString SettingsFileIn(const QString& programFolder) {
    return util::JoinPath(programFolder, QStringLiteral("Kibako.INI"));
}

qint64 ParseSettingNumber(const QString& value) {
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

QString Settings::GetSettingText(const QString& key, const QString& fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key);
    return value.isEmpty() ? fallback : value;
}

qint64 Settings::GetSettingNumber(const QString& key, qint64 fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key);
    return value.isEmpty() ? fallback : ParseSettingNumber(value);
}

bool Settings::GetSettingYesNoText(const QString& key, bool fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key).trimmed();
    if (value.isEmpty()) return fallback;
    if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    return ParseSettingNumber(value) != 0;
}

bool Settings::PutSettingText(const QString& key, const QString& text) const {
    return util::ProfileWrite(file_, kSection, key, text);
}

bool Settings::PutSettingNumber(const QString& key, qint64 number) const {
    const QString text = number >= 0 ? u' ' + QString::number(number) : QString::number(number);
    return util::ProfileWrite(file_, kSection, key, text);
}

}  // namespace store
