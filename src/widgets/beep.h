#pragma once

#include <functional>

namespace widgets {

// The system beep, or the function a test put in its place. Every beep of
// the programs' windows comes here.
void Beep();

// Replaces the system beep; an empty function restores it. Tests only.
void SetBeepForTesting(std::function<void()> beep);

}  // namespace widgets
