#pragma once

#include "platform/path_kinds.h"

#include <QString>

namespace util {

// What the start-up environment check decides for the rest of the run.
struct Environment {
    // Added to the style of the standard message box: 4096 keeps it above
    // every other window, 0 lets it be covered.
    int messageStyle = 4096;
    // The registration dialog's System Restore caution; never true here.
    bool windowsMe = false;
};

inline constexpr int kSystemModalStyle = 4096;

// Runs the check with the settings file (Windows form) and remembers the
// result: with no version of an older system to consult, the setting
// "isMsgModal" decides (any value but 0, and its absence, mean on top).
void CheckEnvironment(const platform::DrivePath& settingsFile);
const Environment& CurrentEnvironment();

}  // namespace util
