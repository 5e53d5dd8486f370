#pragma once

#include <QDateTime>

#include <functional>

namespace platform {

// The local time now. Tests set their own clock; an empty function restores
// the system clock.
QDateTime Now();
void SetClockForTesting(std::function<QDateTime()> clock);

}  // namespace platform
