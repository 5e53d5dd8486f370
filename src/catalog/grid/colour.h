#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace catalog::grid {

// A colour as the settings file stores it: 0x00BBGGRR (red in the low byte).
// 0x80000000 + n names system colour n, resolved through the widget palette.
using ColourRef = std::uint32_t;

inline constexpr ColourRef kNoColour = 0xFFFFFFFFu;  // "-1": no fill
inline constexpr ColourRef kSystemColourBase = 0x80000000u;
inline constexpr ColourRef kSystemHighlight = 0x8000000Du;
inline constexpr ColourRef kSystemHighlightText = 0x8000000Eu;
inline constexpr ColourRef kSystemButtonText = 0x80000012u;

constexpr bool IsSystemColour(ColourRef c) {
    return c != kNoColour && (c & kSystemColourBase) != 0;
}
constexpr int RedOf(ColourRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(ColourRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(ColourRef c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr ColourRef Rgb(int r, int g, int b) {
    return static_cast<ColourRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// System colours map onto palette roles (highlight, highlighted text, button
// text, ...); an unknown system colour number gives the palette's text colour.
QColor ToQColor(ColourRef colour, const QPalette& palette);

// Cursor fill of a grid that does not have the focus, derived from the raw
// bytes of SelForeCol. lowColour: the display shows at most 256 colours.
ColourRef InactiveCursorColour(ColourRef selForeColour, bool lowColour);

// A display counts as low-colour when it shows at most 256 colours.
constexpr bool IsLowColourDisplay(long long colourCount) { return colourCount < 257; }

}  // namespace catalog::grid
