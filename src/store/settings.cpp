#include "store/settings.h"

#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"

namespace store {
namespace {
const QString kSection = QStringLiteral("Options");
}

QString SettingsFileIn(const QString& programFolder) {
    return util::JoinPath(programFolder, QStringLiteral("Kibako.INI"));
}

qint64 ParseSettingNumber(const QString& value) { return util::LeadingNumber(value); }

double ParseSettingDecimal(const QString& value) {
    const QString text = value.trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text[end] == u'-' || text[end] == u'+')) ++end;
    bool point = false;
    bool digits = false;
    for (; end < text.size(); ++end) {
        const QChar c = text[end];
        if (c >= u'0' && c <= u'9') {
            digits = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0.0;
    bool ok = false;
    const double number = text.left(end).toDouble(&ok);
    return ok ? number : 0.0;
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

double Settings::GetSettingDecimal(const QString& key, double fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key);
    return value.isEmpty() ? fallback : ParseSettingDecimal(value);
}

bool Settings::PutSettingText(const QString& key, const QString& text) const {
    return util::ProfileWrite(file_, kSection, key, text);
}

bool Settings::PutSettingNumber(const QString& key, qint64 number) const {
    const QString text = number >= 0 ? u' ' + QString::number(number) : QString::number(number);
    return util::ProfileWrite(file_, kSection, key, text);
}

bool Settings::PutSettingDecimal(const QString& key, double value) const {
    return util::ProfileWrite(file_, kSection, key, QString::number(value, 'g', 15));
}

QString Settings::GetSettingText(Key key, const QString& fallback) const {
    return GetSettingText(KeyName(key), fallback);
}
qint64 Settings::GetSettingNumber(Key key, qint64 fallback) const {
    return GetSettingNumber(KeyName(key), fallback);
}
bool Settings::GetSettingYesNoText(Key key, bool fallback) const {
    return GetSettingYesNoText(KeyName(key), fallback);
}
double Settings::GetSettingDecimal(Key key, double fallback) const {
    return GetSettingDecimal(KeyName(key), fallback);
}
bool Settings::PutSettingText(Key key, const QString& text) const {
    return PutSettingText(KeyName(key), text);
}
bool Settings::PutSettingNumber(Key key, qint64 number) const {
    return PutSettingNumber(KeyName(key), number);
}
bool Settings::PutSettingDecimal(Key key, double value) const {
    return PutSettingDecimal(KeyName(key), value);
}

}  // namespace store
