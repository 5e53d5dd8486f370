#include "catalog/grid/grid_engine.h"

#include <algorithm>
#include "widgets/beep.h"

#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/grid_surface.h"
#include "platform/ascii_fold.h"

namespace catalog::grid {

namespace {

// Sets the bar without reacting to its own change event.
class BarUpdate {
  public:
    explicit BarUpdate(GridState& g) : g_(g), was_(g.scrollBarUpdating) {
        g_.scrollBarUpdating = true;
    }
    ~BarUpdate() { g_.scrollBarUpdating = was_; }
    BarUpdate(const BarUpdate&) = delete;
    BarUpdate& operator=(const BarUpdate&) = delete;

  private:
    GridState& g_;
    bool was_;
};

void SetBarValue(QScrollBar* bar, GridState& g) {
    if (bar == nullptr) return;
    BarUpdate guard(g);
    bar->setValue(g.topRow);
}

int RowOfPosition(const GridState& g, int position) {
    // The first row whose successor starts after the position.
    const auto begin = g.rowStarts.begin();
    const auto end = begin + g.rowCount + 1;
    const auto it = std::upper_bound(begin + 1, end, position);
    return static_cast<int>(it - begin) - 1;
}

bool StartsWithIgnoringAsciiCase(QStringView cell, QChar ch) {
    while (!cell.isEmpty() && cell.front() == u' ') cell = cell.mid(1);
    if (cell.isEmpty()) return false;
    return platform::AsciiFold(cell.front()) == platform::AsciiFold(ch);
}

}  // namespace

void FitGrid(GridSurface& surface, GridState& g, QScrollBar* bar, int fixedRows) {
    if (RowRoom(g) == 0) EnsureRowRoom(g, 0);
    const int textHeight = surface.TextHeight();
    const FitResult fit = ComputeFit(surface.InnerHeight(), textHeight, g.vLineWidth, g.interleave,
                                     g.rowHeight, fixedRows);
    g.rowHeight = fit.rowHeight;
    g.visibleRows = fit.visibleRows;
    g.textTop = fit.textTop;
    ComputeTextRects(g);
    surface.resize(surface.width(), g.visibleRows * g.rowHeight + 2 * GridSurface::kBorder);
    SyncScrollBar(bar, g);
    surface.InvalidatePage(g);
}

void PaintGrid(GridSurface& surface, GridState& g, QScrollBar* bar) {
    surface.InvalidatePage(g);
    if (g.scrollBarPlaced) SetBarValue(bar, g);
}

void PaintRow(GridSurface& surface, GridState& g, int row) { surface.InvalidateRow(g, row); }

void PaintCell(GridSurface& surface, GridState& g, int column, int row) {
    surface.InvalidateCell(g, column, row);
}

void SyncScrollBar(QScrollBar* bar, GridState& g) {
    const ScrollRange range = ScrollRangeOf(g);
    if (g.topRow > range.maximum) g.topRow = range.maximum;
    if (g.topRow < 0) g.topRow = 0;
    if (bar == nullptr) return;
    BarUpdate guard(g);
    bar->setMinimum(0);
    bar->setMaximum(range.maximum);
    bar->setPageStep(range.largeChange);
    bar->setSingleStep(1);
    bar->setValue(g.topRow);
}

void PlaceScrollBar(QScrollBar* bar, GridSurface& surface, GridState& g) {
    if (bar == nullptr) return;
    bar->setGeometry(surface.x() + surface.width(), surface.y(), bar->width(), surface.height());
    g.scrollBarPlaced = true;
}

void ClearGrid(GridSurface& surface, GridState& g, QScrollBar* bar) {
    if (g.cursorBack == 0) g.cursorBack = kSystemHighlight;
    ClearRows(g);
    SyncScrollBar(bar, g);
    surface.InvalidatePage(g);
}

void ResetGrid(GridSurface& surface, GridState& g, QScrollBar* bar, int row) {
    g.topRow = std::max(row, 0);
    g.currentRow = g.topRow;
    SyncScrollBar(bar, g);
    PaintGrid(surface, g, bar);
}

bool SetCellText(GridSurface& surface, GridState& g, int column, int row, QStringView text) {
    if (row < 0 || row >= g.rowCount) {
        widgets::Beep();
        return false;
    }
    const bool done = ReplaceCellText(g, column, row, text);
    surface.InvalidateCell(g, column, row);
    return done;
}

void RedrawCursor(GridSurface& surface, GridState& g) {
    if (g.cursorDrawn) surface.InvalidateCell(g, g.lastCursorColumn, g.lastCursorRow);
    surface.InvalidateCell(g, g.currentColumn, g.currentRow);
}

void MoveCursorTo(GridSurface& surface, GridState& g, QScrollBar* bar, int row) {
    if (g.rowCount == 0) return;
    row = std::clamp(row, 0, g.rowCount - 1);
    const int previous = g.currentRow;
    g.currentRow = row;
    // Scroll first so that the old cursor cell is redrawn where it now lies.
    if (!IsRowVisible(g, row) && g.visibleRows > 0) {
        ScrollGridTo(surface, g, bar, TopRowToReveal(g, row), true);
    }
    if (previous >= g.rowCount) {
        surface.InvalidateRows(g, previous, LastPageRow(g));
    } else {
        surface.InvalidateCell(g, g.currentColumn, previous);
    }
    RedrawCursor(surface, g);
}

void ShowRow(GridSurface& surface, GridState& g, QScrollBar* bar, int row) {
    const int oldCursor = g.currentRow;
    g.currentRow = std::max(std::min(row, g.rowCount - 1), 0);
    g.topRow = g.rowCount > 0 ? ShowRowTop(g, g.currentRow, oldCursor) : 0;
    PaintGrid(surface, g, bar);
    SyncScrollBar(bar, g);
}

void ScrollGridTo(GridSurface& surface, GridState& g, QScrollBar* bar, int newTop,
                  bool followCursor) {
    const int oldTop = g.topRow;
    const int target = ScrollTarget(g, newTop, followCursor);
    const int moved = target - oldTop;
    g.topRow = target;
    if (moved != 0) {
        if (std::abs(moved) == 1 || std::abs(newTop - oldTop) < std::max(g.visibleRows - 1, 1)) {
            surface.ScrollPixels(g, moved);
        } else {
            surface.InvalidatePage(g);
        }
    }
    SetBarValue(bar, g);
}

void ScrollToBar(GridSurface& surface, GridState& g, QScrollBar* bar) {
    if (bar == nullptr || g.scrollBarUpdating) return;
    const int value = bar->value();
    if (std::abs(value - g.topRow) > g.visibleRows - 1) {
        g.topRow = std::clamp(value, 0, MaxTopRow(g));
        surface.InvalidatePage(g);
        SetBarValue(bar, g);
        return;
    }
    ScrollGridTo(surface, g, bar, value, false);
}

int TypeAheadTarget(const GridState& g, QChar ch) {
    if (g.rowCount == 0) return -1;
    const int current = std::clamp(g.currentRow, 0, g.rowCount - 1);
    if (g.currentColumn == 0) {
        const QChar upper = ch.toUpper();
        const QChar lower = ch.toLower();
        const int from = g.rowStarts[static_cast<size_t>(current)] + 1;
        const int end = g.rowStarts[static_cast<size_t>(g.rowCount)];
        const QChar* text = g.rows.constData();
        for (int i = from; i + 1 < end; ++i) {
            if (text[i].unicode() != kRowStart) continue;
            const QChar next = text[i + 1];
            if (next == upper || (upper != lower && next == lower)) {
                const int row = RowOfPosition(g, i);
                return row < g.rowCount ? row : -1;
            }
        }
        return -1;
    }
    for (int r = current + 1; r < g.rowCount; ++r) {
        if (StartsWithIgnoringAsciiCase(CellView(g, g.currentColumn, r), ch)) return r;
    }
    for (int r = 0; r <= current; ++r) {
        if (StartsWithIgnoringAsciiCase(CellView(g, g.currentColumn, r), ch)) return r;
    }
    return -1;
}

void TypeAheadJump(GridSurface& surface, GridState& g, QScrollBar* bar, QChar ch) {
    const int row = TypeAheadTarget(g, ch);
    if (row >= 0) MoveCursorTo(surface, g, bar, row);
}

void ClearMarks(GridState& g, GridSurface* surface) {
    if (g.markCount == 0) return;
    for (int r = 0; r < g.rowCount; ++r) {
        if (g.rowMark[static_cast<size_t>(r)] == 0) continue;
        g.rowMark[static_cast<size_t>(r)] = 0;
        if (surface != nullptr) surface->InvalidateRow(g, r);
    }
    g.markCount = 0;
}

void SetMark(GridState& g, int row, bool on, GridSurface* surface) {
    if (row < 0 || row >= g.rowCount) return;
    auto& mark = g.rowMark[static_cast<size_t>(row)];
    const bool was = mark != 0;
    if (was == on) return;
    mark = on ? -1 : 0;
    g.markCount += on ? 1 : -1;
    if (surface != nullptr) surface->InvalidateRow(g, row);
}

void MarkRange(GridState& g, int from, int to, GridSurface* surface) {
    if (g.rowCount == 0) return;
    from = std::clamp(from, 0, g.rowCount - 1);
    to = std::clamp(to, 0, g.rowCount - 1);
    const int anchor = g.anchorRow;
    const int low = std::min(anchor, to);
    const int high = std::max(anchor, to);
    for (int r = std::min(from, to); r <= std::max(from, to); ++r) {
        SetMark(g, r, r >= low && r <= high, surface);
    }
}

}  // namespace catalog::grid
