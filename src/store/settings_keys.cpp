#include "store/settings_keys.h"

#include <array>

namespace store {
namespace {

using T = SettingType;
using R = DefaultRule;

constexpr std::array kKeys = {
    SettingKey{"CatalogName", T::Text, R::DefinitionFile, 0, 0},
    SettingKey{"ExpandFirst", T::YesNoText, R::Fixed, 0, 0},
    SettingKey{"BackupDir", T::Text, R::Fixed, 0, 0},
    SettingKey{"LevelColor0", T::Number, R::Fixed, 0, 0},
    SettingKey{"LevelColor1", T::Number, R::Fixed, 1, 0},
    SettingKey{"LevelColor2", T::Number, R::Fixed, 2, 0},
    SettingKey{"LevelColor3", T::Number, R::Fixed, 3, 0},
    SettingKey{"LevelColor4", T::Number, R::Fixed, 4, 0},
    SettingKey{"LevelColor5", T::Number, R::Fixed, 5, 0},
    SettingKey{"LevelColor6", T::Number, R::Fixed, 6, 0},
    SettingKey{"LevelColor7", T::Number, R::Fixed, 7, 0},
    SettingKey{"NewFileOnly", T::YesNo, R::PerProgram, kYes, kNo},
    SettingKey{"AutoPowerOff", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{"SkipRemovable", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{"WinMeCaution", T::Number, R::Fixed, 0, 0},
    SettingKey{"KeiDispH", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{"KeiDispV", T::YesNo, R::Fixed, kYes, 0},
    SettingKey{"KeiFileH", T::YesNo, R::Fixed, kYes, 0},
    SettingKey{"KeiFileV", T::YesNo, R::Fixed, kYes, 0},
    SettingKey{"NameCase", T::Number, R::Fixed, 3, 0},
    SettingKey{"ListInterleave", T::Number, R::Fixed, 1, 0},
    SettingKey{"FolderPercent", T::Number, R::Fixed, 60, 0},
    SettingKey{"FontName", T::Text, R::None, 0, 0},
    SettingKey{"FontSize", T::Decimal, R::None, 0, 0},
    SettingKey{"FontBold", T::YesNo, R::Fixed, kNo, 0},
    SettingKey{"WindowX", T::Number, R::Designed, 0, 0},
    SettingKey{"WindowY", T::Number, R::Designed, 0, 0},
    SettingKey{"WIDTH", T::Number, R::Designed, 0, 0},
    SettingKey{"HEIGHT", T::Number, R::Designed, 0, 0},
    SettingKey{"DirColWidth0", T::Number, R::Fixed, 300, 0},
    SettingKey{"DirColWidth1", T::Number, R::Fixed, 120, 0},
    SettingKey{"DirColWidth2", T::Number, R::Fixed, 120, 0},
    SettingKey{"FileColWidth0", T::Number, R::Fixed, 300, 0},
    SettingKey{"FileColWidth1", T::Number, R::Fixed, 150, 0},
    SettingKey{"FileColWidth2", T::Number, R::Fixed, 150, 0},
    SettingKey{"ListButtonCol", T::Colour, R::Fixed, 0x808000, 0},
    SettingKey{"LevelButtonCol", T::Colour, R::Fixed, 0x808000, 0},
    SettingKey{"PushedLightCol", T::Colour, R::Fixed, 0xC0FFFF, 0},
    SettingKey{"TitleForeCol", T::Colour, R::ColourDepth, 15462645, 0xFFFFFF},
    SettingKey{"TitleBackCol", T::Colour, R::ColourDepth, 9218729, 8421504},
    SettingKey{"ListForeCol", T::Colour, R::Fixed, 0, 0},
    SettingKey{"ListBackCol", T::Colour, R::Fixed, 0xFFFFFF, 0},
    SettingKey{"SelForeCol", T::Colour, R::Fixed, 0x8000000E, 0},
    SettingKey{"SelBackCol", T::Colour, R::Fixed, 0x8000000D, 0},
    SettingKey{"ListVLineCol", T::Colour, R::Fixed, 11579568, 0},
    SettingKey{"ListHLineCol", T::Colour, R::Fixed, 10526880, 0},
    SettingKey{"isMsgModal", T::YesNo, R::Fixed, kYes, 0},
    // Runs instead of asking logind to power the machine off (tests record the call).
    SettingKey{"PowerOffCommand", T::Text, R::None, 0, 0},
};

}  // namespace

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

qint64 ReadNumberSetting(const Settings& settings, const QString& name, Program program,
                         qint64 colourCount) {
    const SettingKey* key = FindSettingKey(name);
    const qint64 fallback = key ? DefaultNumber(*key, program, colourCount).value_or(0) : 0;
    return settings.GetSettingNumber(name, fallback);
}

}  // namespace store
