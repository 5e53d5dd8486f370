#pragma once

#include <QString>

namespace store {

// The settings file "Kibako.INI" in the program folder; every key lives in
// the section "Options". The file is never held open: each read and write is
// one profile call, and a missing or unreadable file reads as empty.
class Settings {
  public:
    // `file` is the settings file's Windows-style path.
    explicit Settings(QString file) : file_(std::move(file)) {}

    const QString& FilePath() const { return file_; }

    // The value (at most 254 bytes); a missing or empty value gives `fallback`.
    QString GetSettingText(const QString& key, const QString& fallback) const;
    // The leading number of the value (decimal, or hexadecimal after "&H");
    // a missing or empty value gives `fallback`, text without a number 0.
    qint64 GetSettingNumber(const QString& key, qint64 fallback) const;
    // A yes/no kept as text: "True"/"False" or a number (non-zero is yes).
    bool GetSettingYesNoText(const QString& key, bool fallback) const;
    // A decimal kept as text ("9.75", the font size): the leading decimal
    // number of the value; a missing or empty value gives `fallback`.
    double GetSettingDecimal(const QString& key, double fallback) const;

    bool PutSettingText(const QString& key, const QString& text) const;
    // Decimal, with one leading blank when the number is not negative.
    bool PutSettingNumber(const QString& key, qint64 number) const;
    // The shortest decimal text that reads back as the same value, with "."
    // as the decimal point whatever the locale ("9.75", "10").
    bool PutSettingDecimal(const QString& key, double value) const;

  private:
    QString file_;
};

// "Kibako.INI" in a program folder given in its Windows form.
QString SettingsFileIn(const QString& programFolder);

// The leading number of a stored value, as settings read it.
qint64 ParseSettingNumber(const QString& value);
// The leading decimal number of a stored value: blanks ignored, an optional
// sign, digits with at most one "."; text without a number reads as 0.
double ParseSettingDecimal(const QString& value);

// Yes/no values as stored: -1 yes, 0 no.
inline constexpr qint64 kYes = -1;
inline constexpr qint64 kNo = 0;

}  // namespace store
