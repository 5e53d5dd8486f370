#include "store/settings_keys.h"

#include <array>

namespace store {
namespace {

using T = SettingType;
using R = DefaultRule;

constexpr std::array kKeys = {
    SettingKey{Key::CatalogName, "CatalogName", T::Text, R::DefinitionFile, 0, 0},
    SettingKey{Key::ExpandFirst, "ExpandFirst", T::YesNoText, R::Fixed, 0, 0},
    SettingKey{Key::BackupDir, "BackupDir", T::Text, R::Fixed, 0, 0},
    SettingKey{Key::LevelColor0, "LevelColor0", T::Number, R::Fixed, 0, 0},
    SettingKey{Key::LevelColor1, "LevelColor1", T::Number, R::Fixed, 1, 0},
    SettingKey{Key::LevelColor2, "LevelColor2", T::Number, R::Fixed, 2, 0},
    SettingKey{Key::LevelColor3, "LevelColor3", T::Number, R::Fixed, 3, 0},
    SettingKey{Key::LevelColor4, "LevelColor4", T::Number, R::Fixed, 4, 0},
    SettingKey{Key::LevelColor5, "LevelColor5", T::Number, R::Fixed, 5, 0},
    SettingKey{Key::LevelColor6, "LevelColor6", T::Number, R::Fixed, 6, 0},
    SettingKey{Key::LevelColor7, "LevelColor7", T::Number, R::Fixed, 7, 0},
    SettingKey{Key::NewFileOnly, "NewFileOnly", T::YesNo, R::PerProgram, kYes, kNo},
    SettingKey{Key::AutoPowerOff, "AutoPowerOff", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{Key::SkipRemovable, "SkipRemovable", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{Key::WinMeCaution, "WinMeCaution", T::Number, R::Fixed, 0, 0},
    SettingKey{Key::KeiDispH, "KeiDispH", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{Key::KeiDispV, "KeiDispV", T::YesNo, R::Fixed, kYes, 0},
    SettingKey{Key::KeiFileH, "KeiFileH", T::YesNo, R::Fixed, kYes, 0},
    SettingKey{Key::KeiFileV, "KeiFileV", T::YesNo, R::Fixed, kYes, 0},
    SettingKey{Key::NameCase, "NameCase", T::Number, R::Fixed, 3, 0},
    SettingKey{Key::ListInterleave, "ListInterleave", T::Number, R::Fixed, 1, 0},
    SettingKey{Key::FolderPercent, "FolderPercent", T::Number, R::Fixed, 60, 0},
    SettingKey{Key::FontName, "FontName", T::Text, R::None, 0, 0},
    SettingKey{Key::FontSize, "FontSize", T::Decimal, R::None, 0, 0},
    SettingKey{Key::FontBold, "FontBold", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{Key::WindowX, "WindowX", T::Number, R::Designed, 0, 0},
    SettingKey{Key::WindowY, "WindowY", T::Number, R::Designed, 0, 0},
    SettingKey{Key::WIDTH, "WIDTH", T::Number, R::Designed, 0, 0},
    SettingKey{Key::HEIGHT, "HEIGHT", T::Number, R::Designed, 0, 0},
    SettingKey{Key::DirColWidth0, "DirColWidth0", T::Number, R::Fixed, 300, 0},
    SettingKey{Key::DirColWidth1, "DirColWidth1", T::Number, R::Fixed, 120, 0},
    SettingKey{Key::DirColWidth2, "DirColWidth2", T::Number, R::Fixed, 120, 0},
    SettingKey{Key::FileColWidth0, "FileColWidth0", T::Number, R::Fixed, 300, 0},
    SettingKey{Key::FileColWidth1, "FileColWidth1", T::Number, R::Fixed, 150, 0},
    SettingKey{Key::FileColWidth2, "FileColWidth2", T::Number, R::Fixed, 150, 0},
    SettingKey{Key::ListButtonCol, "ListButtonCol", T::Colour, R::Fixed, 0x808000, 0},
    SettingKey{Key::LevelButtonCol, "LevelButtonCol", T::Colour, R::Fixed, 0x808000, 0},
    SettingKey{Key::PushedLightCol, "PushedLightCol", T::Colour, R::Fixed, 0xC0FFFF, 0},
    SettingKey{Key::TitleForeCol, "TitleForeCol", T::Colour, R::ColourDepth, 15462645, 0xFFFFFF},
    SettingKey{Key::TitleBackCol, "TitleBackCol", T::Colour, R::ColourDepth, 9218729, 8421504},
    SettingKey{Key::ListForeCol, "ListForeCol", T::Colour, R::Fixed, 0, 0},
    SettingKey{Key::ListBackCol, "ListBackCol", T::Colour, R::Fixed, 0xFFFFFF, 0},
    SettingKey{Key::SelForeCol, "SelForeCol", T::Colour, R::Fixed, 0x8000000E, 0},
    SettingKey{Key::SelBackCol, "SelBackCol", T::Colour, R::Fixed, 0x8000000D, 0},
    SettingKey{Key::ListVLineCol, "ListVLineCol", T::Colour, R::Fixed, 11579568, 0},
    SettingKey{Key::ListHLineCol, "ListHLineCol", T::Colour, R::Fixed, 10526880, 0},
    SettingKey{Key::isMsgModal, "isMsgModal", T::YesNo, R::Fixed, kYes, 0},
    // Runs instead of asking logind to power the machine off (tests record the call).
    SettingKey{Key::PowerOffCommand, "PowerOffCommand", T::Text, R::None, 0, 0},
    // Tetoru tells the desktop of a failed run always, and of a good one when this is set.
    SettingKey{Key::NotifySuccess, "NotifySuccess", T::YesNo, R::Fixed, kNo, 0},
    // The text of a registration whose last run failed, in the catalog (red).
    SettingKey{Key::FailedRunCol, "FailedRunCol", T::Colour, R::Fixed, 0x0000FF, 0},
    // Days the backups a run replaces or deletes are kept; 0 keeps none.
    SettingKey{Key::HistoryDays, "HistoryDays", T::Number, R::Fixed, 0, 0},
};

constexpr bool InKeyOrder() {
    for (size_t i = 0; i < kKeys.size(); ++i) {
        if (static_cast<size_t>(kKeys[i].id) != i) return false;
    }
    return true;
}
static_assert(InKeyOrder(), "the key table lists the keys in the order of enum Key");
static_assert(kKeys.size() == static_cast<size_t>(Key::HistoryDays) + 1,
              "every key has its table entry");

Key Nth(Key first, int offset, int count) {
    Q_ASSERT(offset >= 0 && offset < count);
    return static_cast<Key>(static_cast<int>(first) + offset);
}

}  // namespace

const SettingKey& SettingKeyOf(Key key) { return kKeys[static_cast<size_t>(key)]; }
QString KeyName(Key key) { return QLatin1String(SettingKeyOf(key).name); }
Key LevelColorKey(int level) { return Nth(Key::LevelColor0, level, 8); }
Key DirColWidthKey(int column) { return Nth(Key::DirColWidth0, column, 3); }
Key FileColWidthKey(int column) { return Nth(Key::FileColWidth0, column, 3); }

std::span<const SettingKey> AllSettingKeys() { return kKeys; }

const SettingKey* FindSettingKey(const QString& name) {
    for (const SettingKey& key : kKeys) {
        if (name.compare(QLatin1String(key.name), Qt::CaseInsensitive) == 0) return &key;
    }
    return nullptr;
}

std::optional<qint64> DefaultNumber(const SettingKey& key, Program program, qint64 colourCount) {
    switch (key.rule) {
        case R::Fixed:
            return key.number;
        case R::PerProgram:
            return program == Program::Kibako ? key.number : key.other;
        case R::ColourDepth:
            return colourCount > 256 ? key.number : key.other;
        case R::DefinitionFile:
        case R::Designed:
        case R::None:
            return std::nullopt;
    }
    return std::nullopt;
}

qint64 ReadNumberSetting(const Settings& settings, Key key, Program program, qint64 colourCount) {
    const qint64 fallback = DefaultNumber(SettingKeyOf(key), program, colourCount).value_or(0);
    return settings.GetSettingNumber(key, fallback);
}

}  // namespace store
