#pragma once

namespace tetoru {

// Whether windows can be shown: a Qt platform was named (offscreen in tests),
// or an X11 or Wayland display is there. Under cron or a systemd timer there
// is none, and Tetoru runs on the console.
bool HasDisplay();

}  // namespace tetoru
