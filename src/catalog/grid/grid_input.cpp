#include "catalog/grid/grid_input.h"

#include <algorithm>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/grid_surface.h"

namespace catalog::grid {

namespace {

bool IsMoveKey(int key) {
    return key == vk::kUp || key == vk::kDown || key == vk::kPageUp || key == vk::kPageDown ||
           key == vk::kHome || key == vk::kEnd || key == vk::kHelp;
}

// The character a type-ahead key stands for, or a null character.
QChar TypeAheadChar(int key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return QChar(key);
    if (key >= vk::kNumpad0 && key <= vk::kNumpad9) return QChar('0' + key - vk::kNumpad0);
    if (key == vk::kAtSign) return QChar('@');
    return {};
}

// Moves the cursor by one row; scrolls one row when the row leaves the page.
void StepCursor(GridSurface& surface, GridState& g, QScrollBar* bar, int delta) {
    const int previous = g.currentRow;
    g.currentRow = previous + delta;
    if (!IsRowVisible(g, g.currentRow) && g.visibleRows > 0) {
        ScrollGridTo(surface, g, bar, g.topRow + delta, true);
    }
    surface.InvalidateCell(g, g.currentColumn, previous);
    RedrawCursor(surface, g);
}

void PageUp(GridSurface& surface, GridState& g, QScrollBar* bar) {
    if (g.topRow > 0) {
        g.topRow = std::max(g.topRow - g.visibleRows, 0);
        g.currentRow = g.topRow;
        PaintGrid(surface, g, bar);
        SyncScrollBar(bar, g);
        return;
    }
    surface.InvalidateCell(g, g.currentColumn, g.currentRow);
    g.currentRow = 0;
    RedrawCursor(surface, g);
}

void PageDown(GridSurface& surface, GridState& g, QScrollBar* bar) {
    if (g.topRow + g.visibleRows < g.rowCount) {
        g.topRow = std::min(g.topRow + g.visibleRows, MaxTopRow(g));
        g.currentRow = g.topRow;
        PaintGrid(surface, g, bar);
        SyncScrollBar(bar, g);
        return;
    }
    surface.InvalidateCell(g, g.currentColumn, g.currentRow);
    g.currentRow = g.rowCount - 1;
    RedrawCursor(surface, g);
}

// Runs one move key; false when the key did nothing.
bool MoveKey(GridSurface& surface, GridState& g, QScrollBar* bar, int key, int shift) {
    const bool alt = (shift & kAltBit) != 0;
    switch (key) {
        case vk::kUp:
            if (alt) {
                ScrollGridTo(surface, g, bar, g.topRow - 1, false);
                return true;
            }
            if (g.currentRow <= 0) return false;
            StepCursor(surface, g, bar, -1);
            return true;
        case vk::kDown:
            if (alt) {
                ScrollGridTo(surface, g, bar, g.topRow + 1, false);
                return true;
            }
            if (g.currentRow >= g.rowCount - 1) return false;
            StepCursor(surface, g, bar, +1);
            return true;
        case vk::kPageUp:
            PageUp(surface, g, bar);
            return true;
        case vk::kPageDown:
            PageDown(surface, g, bar);
            return true;
        case vk::kHome:
            if (!(g.currentRow == 0 && g.topRow == 0)) MoveCursorTo(surface, g, bar, 0);
            return true;
        default:  // End, Help
            if (!(g.currentRow == g.rowCount - 1 && g.topRow == MaxTopRow(g))) {
                MoveCursorTo(surface, g, bar, g.rowCount - 1);
            }
            return true;
    }
}

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return keypad ? vk::kNumpad0 + (key - Qt::Key_0) : key;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return vk::kEnter;
        case Qt::Key_Shift:
            return vk::kShift;
        case Qt::Key_Control:
            return vk::kControl;
        case Qt::Key_Alt:
            return vk::kAlt;
        case Qt::Key_Escape:
            return vk::kEscape;
        case Qt::Key_Space:
            return vk::kSpace;
        case Qt::Key_PageUp:
            return vk::kPageUp;
        case Qt::Key_PageDown:
            return vk::kPageDown;
        case Qt::Key_End:
            return vk::kEnd;
        case Qt::Key_Home:
            return vk::kHome;
        case Qt::Key_Left:
            return vk::kLeft;
        case Qt::Key_Up:
            return vk::kUp;
        case Qt::Key_Right:
            return vk::kRight;
        case Qt::Key_Down:
            return vk::kDown;
        case Qt::Key_Help:
            return vk::kHelp;
        case Qt::Key_At:
            return vk::kAtSign;
        default:
            return 0;
    }
}

GridKeyResult GridKeyDown(GridSurface& surface, GridState& g, QScrollBar* bar, int key, int shift) {
    GridKeyResult result;
    if (key == vk::kControl || key == vk::kAlt || g.rowCount == 0) return result;
    if (key == vk::kShift) {
        if (g.markCount == 0) g.anchorRow = g.currentRow;
        return result;
    }
    const bool shiftHeld = (shift & kShiftBit) != 0;
    const bool ctrlHeld = (shift & kCtrlBit) != 0;
    const bool plain = !shiftHeld && !ctrlHeld && g.markCount > 0;
    if (key == vk::kEscape) {
        if (g.markCount > 0) {
            ClearMarks(g, &surface);
            result.marksChanged = true;
        }
        return result;
    }
    if (IsMoveKey(key)) {
        const int previous = g.currentRow;
        const bool altScroll = (shift & kAltBit) && (key == vk::kUp || key == vk::kDown);
        if (plain && !altScroll) {
            ClearMarks(g, &surface);
            result.marksChanged = true;
        }
        result.handled = MoveKey(surface, g, bar, key, shift);
        g.currentRow = std::clamp(g.currentRow, 0, g.rowCount - 1);
        if (!IsRowVisible(g, g.currentRow) && !altScroll) {
            MoveCursorTo(surface, g, bar, g.currentRow);
        }
        if (shiftHeld && !altScroll && result.handled) {
            MarkRange(g, previous, g.currentRow, &surface);
            result.marksChanged = true;
        }
        return result;
    }
    if (key == vk::kLeft || key == vk::kRight) {
        const int column =
            std::clamp(g.currentColumn + (key == vk::kLeft ? -1 : 1), 0, g.columnCount - 1);
        surface.InvalidateCell(g, g.currentColumn, g.currentRow);
        g.currentColumn = column;
        RedrawCursor(surface, g);
        return result;
    }
    if (key == vk::kSpace || key == vk::kEnter) {
        if (plain) ClearMarks(g, &surface);
        SetMark(g, g.currentRow, !IsMarked(g, g.currentRow), &surface);
        g.anchorRow = g.currentRow;
        result.handled = true;
        result.marksChanged = true;
        return result;
    }
    const QChar ch = TypeAheadChar(key);
    if (!ch.isNull() && (shift & (kShiftBit | kCtrlBit | kAltBit)) == 0) {
        if (g.markCount > 0) {
            ClearMarks(g, &surface);
            result.marksChanged = true;
        }
        TypeAheadJump(surface, g, bar, ch);
        result.handled = true;
    }
    return result;
}

GridClickResult GridClick(GridSurface& surface, GridState& g, int button, int shift, int x, int y) {
    GridClickResult result;
    const int column = std::min(ColumnAtX(g, x), g.columnCount - 1);
    const int row = std::max(RowAtY(g, y), 0);
    if (row >= g.rowCount) return result;
    const int previous = g.currentRow;
    result.cursorMoved = row != g.currentRow || column != g.currentColumn;
    if (result.cursorMoved) surface.InvalidateCell(g, g.currentColumn, g.currentRow);
    g.currentColumn = column;
    g.currentRow = row;
    if (result.cursorMoved) RedrawCursor(surface, g);
    if (button != kLeftButton) return result;
    if (shift & kCtrlBit) {
        SetMark(g, row, !IsMarked(g, row), &surface);
    } else if (shift & kShiftBit) {
        MarkRange(g, previous, row, &surface);
    } else {
        ClearMarks(g, &surface);
        SetMark(g, row, true, &surface);
    }
    result.marksChanged = true;
    if (g.markCount == 1 && !(shift & kShiftBit)) g.anchorRow = g.currentRow;
    return result;
}

GridClickResult GridDrag(GridSurface& surface, GridState& g, QScrollBar* bar, int button, int x,
                         int y) {
    if (y >= 20) {
        if (y >= surface.InnerHeight() - 4 && g.topRow + g.visibleRows < g.rowCount) {
            ScrollGridTo(surface, g, bar, g.topRow + 1, true);
        }
    } else if (g.topRow > 0) {
        ScrollGridTo(surface, g, bar, g.topRow - 1, true);
    }
    return GridClick(surface, g, button, kShiftBit, x, y);
}

}  // namespace catalog::grid
