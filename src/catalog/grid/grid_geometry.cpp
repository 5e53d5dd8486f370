#include "catalog/grid/grid_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace catalog::grid {

namespace {

int FloorDiv(int a, int b) {
    int q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

int RowAtY(const GridState& g, int y) {
    if (g.rowHeight <= 0) return g.topRow;
    return FloorDiv(y, g.rowHeight) + g.topRow;
}

int ColumnAtX(const GridState& g, int x) {
    for (int c = 0; c < g.columnCount; ++c) {
        if (Edge(g, c - 1) <= x && x < Edge(g, c)) return c;
    }
    return g.columnCount;
}

bool IsRowVisible(const GridState& g, int row) {
    return row >= g.topRow && row < g.topRow + g.visibleRows && row < g.rowCount;
}

QRect RowRect(const GridState& g, int row) {
    const int right = Edge(g, g.columnCount - 1);
    return QRect(QPoint(0, RowTop(g, row)), QPoint(right, RowTop(g, row) + g.rowHeight - 1));
}

QRect CellRect(const GridState& g, int column, int row) {
    const int top = RowTop(g, row);
    return QRect(QPoint(Edge(g, column - 1), top), QPoint(Edge(g, column), top + g.rowHeight - 1));
}

int TextTopOffset(int rowHeight, int textHeight) {
    const int t = textHeight;
    if (rowHeight < 2 * t) return (rowHeight - t) / 2;
    if (rowHeight < 2 * t + 8) return (rowHeight - 2 * t) / 2;
    return (rowHeight - 2 * t - 4) / 2;
}

FitResult ComputeFit(int innerHeight, int textHeight, int vLineWidth, int interleave,
                     int oldRowHeight, int fixedRows) {
    const int base = textHeight + vLineWidth + interleave;
    FitResult fit;
    fit.rowHeight = oldRowHeight == 0 ? base : oldRowHeight;
    if (fixedRows == 0) {
        fit.visibleRows = base > 0 ? std::max(innerHeight, 0) / base : 0;
        if (fit.visibleRows > 0) fit.rowHeight = innerHeight / fit.visibleRows;
    } else {
        fit.visibleRows = fixedRows;
        fit.rowHeight = base;
    }
    fit.textTop = TextTopOffset(fit.rowHeight, textHeight);
    return fit;
}

void ComputeTextRects(GridState& g) {
    for (int c = 0; c < g.columnCount && c < kMaxColumns; ++c) {
        QRect& r = g.textRects[static_cast<size_t>(c)];
        r.setLeft(Edge(g, c - 1) + 4);
        r.setRight(Edge(g, c) - 6);
    }
}

ScrollRange ScrollRangeOf(const GridState& g) {
    if (g.rowCount > g.visibleRows) return {g.rowCount - g.visibleRows, g.visibleRows};
    return {0, 32767};
}

int MaxTopRow(const GridState& g) { return std::max(g.rowCount - g.visibleRows, 0); }

int TopRowToReveal(const GridState& g, int row) {
    if (row >= g.topRow + g.visibleRows) return std::max(row - g.visibleRows + 1, 0);
    return row < g.visibleRows ? 0 : row - 1;
}

int ShowRowTop(const GridState& g, int row, int oldCursorRow) {
    const int count = g.rowCount;
    const int visible = g.visibleRows;
    int top = g.topRow;
    int last = top + visible - 1;
    if (last >= count) {
        last = count - 1;
        top = count - visible;
    }
    if (row < top) {
        top = row >= visible ? row - 1 : 0;
    } else if (row > last) {
        top = row - (oldCursorRow - g.topRow);
        // The kept distance must still show the row; otherwise centre it.
        if (top < 0 || top > row || row >= top + visible) top = row - visible / 2;
        if (top + visible >= count) top = count - visible;
    }
    return std::max(top, 0);
}

int ScrollTarget(const GridState& g, int newTop, bool followCursor) {
    const int top = g.topRow;
    const int maxTop = MaxTopRow(g);
    if (newTop == top + 1) return top < g.rowCount - g.visibleRows ? top + 1 : top;
    if (newTop == top - 1) return top > 0 ? top - 1 : top;
    if (newTop == top) return top;
    if (std::abs(newTop - top) >= g.visibleRows - 1) {
        int target = newTop;
        if (newTop + g.visibleRows >= g.rowCount) {
            target = g.rowCount - g.visibleRows;
        } else if (followCursor) {
            target = g.currentRow - 2;
        }
        return std::clamp(target, 0, maxTop);
    }
    return std::clamp(newTop, 0, maxTop);
}

}  // namespace catalog::grid
