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
