#pragma once

#include "platform/path_kinds.h"

#include <QString>

namespace store {

// The keys of the settings file. Each names one entry of the key table
// (settings_keys.h), so a misspelt key does not compile.
enum class Key {
    CatalogName,
    ExpandFirst,
    BackupDir,
    LevelColor0,
    LevelColor1,
    LevelColor2,
    LevelColor3,
    LevelColor4,
    LevelColor5,
    LevelColor6,
    LevelColor7,
    NewFileOnly,
    AutoPowerOff,
    SkipRemovable,
    WinMeCaution,
    KeiDispH,
    KeiDispV,
    KeiFileH,
    KeiFileV,
    NameCase,
    ListInterleave,
    FolderPercent,
    FontName,
    FontSize,
    FontBold,
    WindowX,
    WindowY,
    WIDTH,
    HEIGHT,
    DirColWidth0,
    DirColWidth1,
    DirColWidth2,
    FileColWidth0,
    FileColWidth1,
    FileColWidth2,
    ListButtonCol,
    LevelButtonCol,
    PushedLightCol,
    TitleForeCol,
    TitleBackCol,
    ListForeCol,
    ListBackCol,
    SelForeCol,
    SelBackCol,
    ListVLineCol,
    ListHLineCol,
    isMsgModal,
    PowerOffCommand,
    NotifySuccess,
    FailedRunCol,
    HistoryDays,
};

// The key's name as the settings file spells it.
QString KeyName(Key key);
// LevelColor0 to LevelColor7, DirColWidth0 to 2 and FileColWidth0 to 2 by
// their number, which must be in that range.
Key LevelColorKey(int level);
Key DirColWidthKey(int column);
Key FileColWidthKey(int column);

// A key as a call names it: an entry of the table (the programs' way), or a
// name outside it spelt out as SettingName(text), as tests and tools do.
class SettingName {
  public:
    SettingName(Key key);  // implicit on purpose: calls name a table key as it is
    explicit SettingName(QString name) : name_(std::move(name)) {}
    const QString& Text() const { return name_; }

  private:
    QString name_;
};

// The settings file "Kibako.INI" in the program folder; every key lives in
// the section "Options". The file is never held open: each read and write is
// one profile call, and a missing or unreadable file reads as empty.
class Settings {
  public:
    // `file` is the settings file's Windows-style path.
    explicit Settings(QString file) : file_(std::move(file)) {}

    const QString& FilePath() const { return file_.text(); }

    // The value (at most 254 bytes); a missing or empty value gives `fallback`.
    QString GetSettingText(const SettingName& key, const QString& fallback) const;
    // The leading number of the value (decimal, or hexadecimal after "&H");
    // a missing or empty value gives `fallback`, text without a number 0.
    qint64 GetSettingNumber(const SettingName& key, qint64 fallback) const;
    // A yes/no kept as text: "True"/"False" or a number (non-zero is yes).
    bool GetSettingYesNoText(const SettingName& key, bool fallback) const;
    // A decimal kept as text ("9.75", the font size): the leading decimal
    // number of the value; a missing or empty value gives `fallback`.
    double GetSettingDecimal(const SettingName& key, double fallback) const;

    bool PutSettingText(const SettingName& key, const QString& text) const;
    // Decimal, with one leading blank when the number is not negative.
    bool PutSettingNumber(const SettingName& key, qint64 number) const;
    // The shortest decimal text that reads back as the same value, with "."
    // as the decimal point whatever the locale ("9.75", "10").
    bool PutSettingDecimal(const SettingName& key, double value) const;

  private:
    platform::DrivePath file_;
};

// "Kibako.INI" in a program folder given in its Windows form.
QString SettingsFileIn(const platform::DrivePath& programFolder);

// The leading number of a stored value, as settings read it.
qint64 ParseSettingNumber(const QString& value);
// The leading decimal number of a stored value: blanks ignored, an optional
// sign, digits with at most one "."; text without a number reads as 0.
double ParseSettingDecimal(const QString& value);

// Yes/no values as stored: -1 yes, 0 no.
inline constexpr qint64 kYes = -1;
inline constexpr qint64 kNo = 0;

}  // namespace store
