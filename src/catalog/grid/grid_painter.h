#pragma once

// Drawing of grid rows from the grid state. These functions only draw: the
// surface decides when (GridSurface::paintEvent), the engine decides what
// needs drawing again (grid_engine.h).

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <QString>

#include <functional>

#include "catalog/grid/grid_state.h"

namespace catalog::grid {

struct PaintContext {
    QColor background;  // ListBackCol of the surface
    QColor foreground;  // ListForeCol of the surface
    QPalette palette;   // resolves system colours
    // Maps icon codes from 50 up: code k uses the code at index k - 50.
    QString iconCodeTable;
    // The text colour of a row that stands out (a registration whose last run
    // failed), or kNoColour for the grid's text colour; none: no row does.
    std::function<ColourRef(int row)> rowText;
};

// Draws the part of the page inside `clip` (pixels inside the surface's
// border): background, ruled lines, marked rows, the cursor cell, tree lines
// and expand boxes, texts and icons. A row is drawn the same whichever part of
// the page is redrawn. Records the cursor cell as drawn when it is inside.
void DrawGridPage(QPainter& painter, GridState& g, const PaintContext& ctx, const QRect& clip);

// The code of the icon a row shows after the table lookup for codes from 50
// up; 0 for none.
int EffectiveIconCode(const GridState& g, const PaintContext& ctx, int row);

// Text colour of a cell by the cursor and mark rules.
ColourRef CellTextColour(const GridState& g, int column, int row, ColourRef gridText);

}  // namespace catalog::grid
