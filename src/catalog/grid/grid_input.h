#pragma once

// Keyboard and mouse handling of a grid, in the terms of Windows virtual-key
// codes and shift bits so that the rules read as the catalog defines them.

#include <QKeyEvent>
#include <QScrollBar>

#include "catalog/grid/grid_state.h"

namespace catalog::grid {

class GridSurface;

namespace vk {
inline constexpr int kEnter = 13, kShift = 16, kControl = 17, kAlt = 18, kEscape = 27;
inline constexpr int kSpace = 32, kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36;
inline constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kHelp = 47;
inline constexpr int kNumpad0 = 96, kNumpad9 = 105, kAtSign = 0xC0;
}  // namespace vk

inline constexpr int kShiftBit = 1, kCtrlBit = 2, kAltBit = 4;
inline constexpr int kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;

// The virtual-key code of a Qt key event; 0 for keys the grid never handles.
int VirtualKeyOf(const QKeyEvent& event);

struct GridKeyResult {
    bool handled = false;  // the key is consumed
    bool marksChanged = false;
};
GridKeyResult GridKeyDown(GridSurface& surface, GridState& g, QScrollBar* bar, int key, int shift);

struct GridClickResult {
    bool cursorMoved = false;
    bool marksChanged = false;
};
// A mouse press at (x, y) in grid coordinates. Rows at or beyond the row
// count are ignored.
GridClickResult GridClick(GridSurface& surface, GridState& g, int button, int shift, int x, int y);
// A mouse move with the left button held over a row other than the cursor
// row: scrolls one row at the top or bottom edge, then extends the marked
// range from the anchor to the row under the pointer.
GridClickResult GridDrag(GridSurface& surface, GridState& g, QScrollBar* bar, int button, int x,
                         int y);

}  // namespace catalog::grid
