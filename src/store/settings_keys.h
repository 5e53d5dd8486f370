#pragma once

#include "store/settings.h"

#include <QString>

#include <optional>
#include <span>

namespace store {

enum class SettingType { Text, Number, Decimal, YesNo, YesNoText, Colour };

// Which program reads a setting's default.
enum class Program { Kibako, Tetoru };

// Where a key's default comes from.
enum class DefaultRule {
    Fixed,           // `number` / `text`
    DefinitionFile,  // the program folder + "\Kibako.Def"
    PerProgram,      // `number` in Kibako, `other` in Tetoru
    ColourDepth,     // `number` on displays of more than 256 colours, else `other`
    Designed,        // the window's designed value; the caller knows it
    None,            // absent: the caller keeps what it has
};

struct SettingKey {
    Key id;
    const char* name;
    SettingType type;
    DefaultRule rule;
    qint64 number;
    qint64 other;
};

// Every key of the settings file, with its type and default.
std::span<const SettingKey> AllSettingKeys();
const SettingKey* FindSettingKey(const QString& name);

// The default number of a key; nothing for Designed and None keys.
std::optional<qint64> DefaultNumber(const SettingKey& key, Program program, qint64 colourCount);

// A number setting read with its table default (designed keys read with 0
// as their default).
qint64 ReadNumberSetting(const Settings& settings, Key key, Program program,
                         qint64 colourCount = 1LL << 24);
const SettingKey& SettingKeyOf(Key key);

}  // namespace store
