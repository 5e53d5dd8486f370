#pragma once

#include "store/settings.h"

namespace tetoru {

// Asks for the machine to be powered off, after flushing the file systems:
// the command of the setting PowerOffCommand when there is one, else logind
// over D-Bus (PowerOff, not interactive). A refusal is written to standard
// error and otherwise ignored.
void RequestPowerOff(const store::Settings& settings);

}  // namespace tetoru
