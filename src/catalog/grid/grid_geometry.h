#pragma once

// Row and column geometry and scroll arithmetic of a grid, as plain functions
// of the grid state. Coordinates are pixels inside the grid surface's border.

#include <QRect>

#include "catalog/grid/grid_state.h"

namespace catalog::grid {

// y div row height + top row (rows above the surface give negative values).
int RowAtY(const GridState& g, int y);
// The first column c with Edge(c - 1) <= x < Edge(c); the column count when none.
int ColumnAtX(const GridState& g, int x);

// y of a row's top; only meaningful when the row is on the page.
inline int RowTop(const GridState& g, int row) { return (row - g.topRow) * g.rowHeight; }
bool IsRowVisible(const GridState& g, int row);
// Last row index on the page (may lie beyond the row count).
inline int LastPageRow(const GridState& g) { return g.topRow + g.visibleRows - 1; }

// The whole row band and one cell, as drawn (right and bottom inclusive of the
// cell's own ruled lines).
QRect RowRect(const GridState& g, int row);
QRect CellRect(const GridState& g, int column, int row);

struct FitResult {
    int rowHeight = 0;
    int visibleRows = 0;
    int textTop = 0;
};
// FitGrid's arithmetic. fixedRows 0 fits the rows to innerHeight, stretching
// the row height so that the rows fill it exactly; when not even one row of
// base height fits, visibleRows is 0 and the row height keeps its value.
FitResult ComputeFit(int innerHeight, int textHeight, int vLineWidth, int interleave,
                     int oldRowHeight, int fixedRows);
int TextTopOffset(int rowHeight, int textHeight);
// Text rectangles' left and right for every column from the column edges.
void ComputeTextRects(GridState& g);

struct ScrollRange {
    int maximum = 0;
    int largeChange = 32767;
};
// Scroll bar range for the grid: Max row count - visible rows and LargeChange
// visible rows when the rows do not fit; otherwise Max 0, LargeChange 32767.
ScrollRange ScrollRangeOf(const GridState& g);
// Largest top row that still fills the page (0 when the rows fit).
int MaxTopRow(const GridState& g);

// Top row MoveCursorTo chooses when the row is off the page.
int TopRowToReveal(const GridState& g, int row);
// Top row ShowRow chooses for `row`, given the cursor row before the call.
int ShowRowTop(const GridState& g, int row, int oldCursorRow);
// Top row a scroll to newTop ends on: one row each way only within the rows,
// a jump of a page or more to the last page or (following the cursor) to two
// rows above the cursor; other moves clamped to the rows.
int ScrollTarget(const GridState& g, int newTop, bool followCursor);

}  // namespace catalog::grid
