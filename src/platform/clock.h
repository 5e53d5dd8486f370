#pragma once

#include <QDateTime>

#include <functional>

namespace platform {

// The local time now. Tests set their own clock; an empty function restores
// the system clock.
QDateTime Now();
void SetClockForTesting(std::function<QDateTime()> clock);

// Without TZ, the C library looks at /etc/localtime again for every local time
// it converts: once for each member of an archive, hundreds of thousands of
// times in a large update. A program uses one zone while it runs, so each
// program names it once, first thing (unless TZ is set already).
void NameTheTimeZoneOnce();

}  // namespace platform
