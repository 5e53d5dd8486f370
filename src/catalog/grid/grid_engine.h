#pragma once

// The grid engine: operations on a grid state shown on a surface with its
// scroll bar. Every operation may be given a state that its surface does not
// show at the moment (the folder grid keeps two); drawing requests for such a
// state are dropped. The scroll bar may be null.

#include <QChar>
#include <QScrollBar>
#include <QStringView>

#include "catalog/grid/grid_state.h"

namespace catalog::grid {

class GridSurface;

// Row height, text offset, visible rows and text rectangles from the surface's
// font and height; the surface is then made exactly as tall as its rows plus
// its border. fixedRows 0 fits to the surface.
void FitGrid(GridSurface& surface, GridState& g, QScrollBar* bar, int fixedRows = 0);
// The whole page is drawn again; a placed scroll bar takes the top row as value.
void PaintGrid(GridSurface& surface, GridState& g, QScrollBar* bar);
void PaintRow(GridSurface& surface, GridState& g, int row);
void PaintCell(GridSurface& surface, GridState& g, int column, int row);

// Range, page and value of the bar from the rows (top row limited to Max).
void SyncScrollBar(QScrollBar* bar, GridState& g);
// Puts the bar at the surface's right edge, as tall as the surface.
void PlaceScrollBar(QScrollBar* bar, GridSurface& surface, GridState& g);

// Empties the grid before a rebuild (see ClearRows); a cursor background of 0
// becomes the system highlight.
void ClearGrid(GridSurface& surface, GridState& g, QScrollBar* bar);
// After a rebuild: top row and cursor row := row (0 if negative), full repaint.
void ResetGrid(GridSurface& surface, GridState& g, QScrollBar* bar, int row);
// Replaces one cell's text and draws it again; a row beyond the rows beeps.
bool SetCellText(GridSurface& surface, GridState& g, int column, int row, QStringView text);

void MoveCursorTo(GridSurface& surface, GridState& g, QScrollBar* bar, int row);
void ShowRow(GridSurface& surface, GridState& g, QScrollBar* bar, int row);
void ScrollGridTo(GridSurface& surface, GridState& g, QScrollBar* bar, int newTop,
                  bool followCursor);
// Follows the bar's value unless the engine itself is changing the bar.
void ScrollToBar(GridSurface& surface, GridState& g, QScrollBar* bar);
// Jumps to the next row whose cell in the current column starts with ch
// (letters in either case). Column 0 searches forward only; other columns wrap.
void TypeAheadJump(GridSurface& surface, GridState& g, QScrollBar* bar, QChar ch);
// The row TypeAheadJump would move to, or -1.
int TypeAheadTarget(const GridState& g, QChar ch);

// Marks. Visible rows whose mark changes are drawn again when a surface is given.
void ClearMarks(GridState& g, GridSurface* surface = nullptr);
void SetMark(GridState& g, int row, bool on, GridSurface* surface = nullptr);
// After a Shift move from row `from` to row `to`: rows between the anchor row
// and `to` become marked, rows of the walked stretch beyond them unmarked.
void MarkRange(GridState& g, int from, int to, GridSurface* surface = nullptr);

// Redraws the cursor cell where it was last drawn and where it is now.
void RedrawCursor(GridSurface& surface, GridState& g);

}  // namespace catalog::grid
