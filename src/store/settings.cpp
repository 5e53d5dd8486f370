#include "store/settings.h"

#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"

namespace store {
namespace {
const QString kSection = QStringLiteral("Options");
}

QString SettingsFileIn(const platform::DrivePath& programFolder) {
    return util::JoinPath(programFolder, QStringLiteral("Kibako.INI")).text();
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

QString Settings::GetSettingText(const SettingName& key, const QString& fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key.Text());
    return value.isEmpty() ? fallback : value;
}

qint64 Settings::GetSettingNumber(const SettingName& key, qint64 fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key.Text());
    return value.isEmpty() ? fallback : ParseSettingNumber(value);
}

bool Settings::GetSettingYesNoText(const SettingName& key, bool fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key.Text()).trimmed();
    if (value.isEmpty()) return fallback;
    if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    return ParseSettingNumber(value) != 0;
}

double Settings::GetSettingDecimal(const SettingName& key, double fallback) const {
    const QString value = util::ProfileRead(file_, kSection, key.Text());
    return value.isEmpty() ? fallback : ParseSettingDecimal(value);
}

bool Settings::PutSettingText(const SettingName& key, const QString& text) const {
    return util::ProfileWrite(file_, kSection, key.Text(), text);
}

bool Settings::PutSettingNumber(const SettingName& key, qint64 number) const {
    const QString text = number >= 0 ? u' ' + QString::number(number) : QString::number(number);
    return util::ProfileWrite(file_, kSection, key.Text(), text);
}

bool Settings::PutSettingDecimal(const SettingName& key, double value) const {
    return util::ProfileWrite(file_, kSection, key.Text(), QString::number(value, 'g', 15));
}

SettingName::SettingName(Key key) : name_(KeyName(key)) {}

}  // namespace store
