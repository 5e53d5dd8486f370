#pragma once

#include <QString>

#include <optional>

// The dialogs' side of the test presets of dialog_testing.h.
namespace dialogs::presets {

// The preset answer for this message, if one is waiting; the call is recorded.
std::optional<int> TakePresetAnswer(const QString& text, int flags, const QString& title);

// True when an input was preset; it is stored in *result and recorded.
bool TakePresetInput(const QString& prompt, const QString& title, const QString& defaultText,
                     std::optional<QString>* result);

}  // namespace dialogs::presets
