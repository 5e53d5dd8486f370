#include "catalog/grid/colour.h"

namespace catalog::grid {

namespace {

QPalette::ColorRole RoleOfSystemColour(int n) {
    switch (n) {
        case 0x05:
            return QPalette::Base;  // window background
        case 0x08:
            return QPalette::Text;  // window text
        case 0x0D:
            return QPalette::Highlight;  // highlight
        case 0x0E:
            return QPalette::HighlightedText;  // highlight text
        case 0x0F:
            return QPalette::Button;  // button face
        case 0x10:
            return QPalette::Dark;  // button shadow
        case 0x12:
            return QPalette::ButtonText;  // button text
        case 0x14:
            return QPalette::Light;  // button highlight
        default:
            return QPalette::Text;
    }
}

}  // namespace

QColor ToQColor(ColourRef colour, const QPalette& palette) {
    if (IsSystemColour(colour)) {
        return palette.color(QPalette::Active, RoleOfSystemColour(static_cast<int>(colour & 0xFF)));
    }
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

ColourRef InactiveCursorColour(ColourRef selForeColour, bool lowColour) {
    const int r = RedOf(selForeColour);
    const int g = GreenOf(selForeColour);
    const int b = BlueOf(selForeColour);
    if (g >= 0xF0) return 0x808080;
    if (r >= 0xC0 && g >= 0xC0 && b >= 0xC0) return lowColour ? 0xFFFFFF : 0x606060;
    if (r >= 0x80 && g >= 0x80 && b >= 0x80) return lowColour ? 0xFFFFFF : 0xF0F0F0;
    return selForeColour == kSystemHighlightText ? 0x808080 : 0xC0C0C0;
}

}  // namespace catalog::grid
