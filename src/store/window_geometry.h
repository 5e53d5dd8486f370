#pragma once

#include "store/settings.h"

namespace store {

// A window's place and size in twips (1/1440 inch).
struct WindowGeometry {
    qint64 x = 0;
    qint64 y = 0;
    qint64 width = 0;
    qint64 height = 0;
};

inline constexpr qint64 kMinimumWindowWidth = 7800;
inline constexpr qint64 kLowestWindowHeight = 2800;
inline constexpr qint64 kRaisedWindowHeight = 3000;

// The catalog window's geometry at start-up: WindowX and WindowY (either
// negative puts the window at 0, 40); WIDTH when present, with HEIGHT (a width
// below 7800 becomes 7800, a height below 2800 becomes 3000); otherwise the
// designed size.
WindowGeometry ReadWindowGeometry(const Settings& settings, const WindowGeometry& designed);

}  // namespace store
