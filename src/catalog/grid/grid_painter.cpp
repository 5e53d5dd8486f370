#include "catalog/grid/grid_painter.h"

#include <algorithm>

#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/icon_strip.h"
#include "catalog/grid/name_case.h"

namespace catalog::grid {

namespace {

constexpr ColourRef kCursorFrameColour = 0xC0C0C0;
constexpr ColourRef kBoxLineColour = 0x808080;

QColor Resolve(const PaintContext& ctx, ColourRef c) { return ToQColor(c, ctx.palette); }

// Fills the inclusive rectangle from (x1, y1) to (x2, y2).
void FillInclusive(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    if (x2 < x1 || y2 < y1) return;
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), colour);
}

void VLine(QPainter& p, int x, int y1, int y2, const QColor& colour) {
    FillInclusive(p, x, std::min(y1, y2), x, std::max(y1, y2), colour);
}

void HLine(QPainter& p, int x1, int x2, int y, const QColor& colour) {
    FillInclusive(p, std::min(x1, x2), y, std::max(x1, x2), y, colour);
}

// Outline of the inclusive rectangle from (x1, y1) to (x2, y2).
void Outline(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    HLine(p, x1, x2, y1, colour);
    HLine(p, x1, x2, y2, colour);
    VLine(p, x1, y1, y2, colour);
    VLine(p, x2, y1, y2, colour);
}

bool DrawsVLines(const GridState& g, const PaintContext& ctx) {
    return g.vLineWidth != 0 && Resolve(ctx, g.vLineColour) != ctx.background;
}

bool DrawsHLines(const GridState& g, const PaintContext& ctx) {
    return g.hLineWidth != 0 && Resolve(ctx, g.hLineColour) != ctx.background;
}

void DrawPageLines(QPainter& p, const GridState& g, const PaintContext& ctx, int height) {
    if (DrawsVLines(g, ctx)) {
        const QColor colour = Resolve(ctx, g.vLineColour);
        for (int c = 0; c < g.columnCount; ++c) VLine(p, Edge(g, c) - 1, 0, height - 1, colour);
    }
    if (DrawsHLines(g, ctx)) {
        const QColor colour = Resolve(ctx, g.hLineColour);
        const int right = Edge(g, g.columnCount - 1);
        for (int j = 1; j <= g.visibleRows; ++j) {
            HLine(p, 0, right, j * g.rowHeight - g.hLineWidth, colour);
        }
    }
}

void DrawRowLines(QPainter& p, const GridState& g, const PaintContext& ctx, int row) {
    const int top = RowTop(g, row);
    const int bottom = top + g.rowHeight - 1;
    if (DrawsVLines(g, ctx)) {
        const QColor colour = Resolve(ctx, g.vLineColour);
        for (int c = 0; c < g.columnCount; ++c) VLine(p, Edge(g, c) - 1, top, bottom, colour);
    }
    if (DrawsHLines(g, ctx)) {
        HLine(p, 0, Edge(g, g.columnCount - 1), top + g.rowHeight - g.hLineWidth,
              Resolve(ctx, g.hLineColour));
    }
}

bool IsCursorCell(const GridState& g, int column, int row) {
    return g.cursorShown && row == g.currentRow && column == g.currentColumn;
}

// Backgrounds of a row: the mark fill, the cursor fill and frame, the row's
// ruled lines. The cursor cell of a marked row keeps the mark fill and gets
// only its frame.
void DrawRowBackground(QPainter& p, GridState& g, const PaintContext& ctx, int row) {
    const int top = RowTop(g, row);
    const bool marked = IsMarked(g, row);
    if (marked) {
        FillInclusive(p, 0, top, Edge(g, g.columnCount - 1), top + g.rowHeight - 1,
                      Resolve(ctx, g.markBack));
    }
    const bool cursorHere = g.cursorShown && row == g.currentRow;
    const int c = g.currentColumn;
    if (cursorHere && !marked && g.cursorBack != kNoColour) {
        FillInclusive(p, Edge(g, c - 1), top, Edge(g, c) - 1, top + g.rowHeight - 1,
                      Resolve(ctx, g.cursorBack));
    }
    if (marked) DrawRowLines(p, g, ctx, row);
    if (cursorHere) {
        if (g.cursorFrame) {
            Outline(p, Edge(g, c - 1), top, Edge(g, c) - 1, top + g.rowHeight - 1,
                    Resolve(ctx, kCursorFrameColour));
        }
        g.lastCursorColumn = c;
        g.lastCursorRow = row;
        g.cursorDrawn = true;
    }
}

void DrawExpandBox(QPainter& p, const GridState& g, int row, int x0, int ym) {
    const QColor box = ToQColor(kBoxLineColour, QPalette());
    Outline(p, x0 - 4, ym - 4, x0 + 4, ym + 4, box);
    FillInclusive(p, x0 - 3, ym - 3, x0 + 3, ym + 3, Qt::white);
    HLine(p, x0 - 2, x0 + 2, ym, box);
    const bool collapsed = row == g.rowCount - 1 || RowIndent(g, row + 1) <= RowIndent(g, row);
    if (collapsed) VLine(p, x0, ym - 2, ym + 2, box);
}

void DrawTreePart(QPainter& p, const GridState& g, const PaintContext& ctx, int row) {
    const int indent = RowIndent(g, row);
    const int top = RowTop(g, row);
    const int ym = top + g.rowHeight / 2;
    const int e0 = Edge(g, 0);
    const int flags = TreeFlags(g, row);
    const QColor line = Resolve(ctx, g.treeLineColour);
    int x0 = indent - 11;
    if (x0 < e0 && row != 0) {
        const int from = top - g.rowHeight / 2;
        VLine(p, x0, from, (flags & kTreeLastChild) ? ym : top + g.rowHeight - 1, line);
    }
    int levelIndent = indent;
    int x = x0;
    while (x > 8 && g.indentStep > 0) {
        x -= g.indentStep;
        levelIndent -= g.indentStep;
        for (int r = row - 1; r >= 1; --r) {
            if (RowIndent(g, r) != levelIndent) continue;
            if (!(TreeFlags(g, r) & kTreeLastChild) && x < e0) {
                VLine(p, x, top, top + g.rowHeight - 1, line);
            }
            break;
        }
    }
    if (x0 + 10 < e0) HLine(p, x0, x0 + 10, ym, line);
    if ((flags & kTreeHasChildren) && x0 + 4 < e0) DrawExpandBox(p, g, row, x0, ym);
}

void DrawCellText(QPainter& p, const GridState& g, const PaintContext& ctx, int column, int row,
                  int iconCode) {
    const QStringView stored = CellView(g, column, row);
    if (stored.isEmpty()) return;
    const QString text = ApplyNameCase(stored, g.nameCase[static_cast<size_t>(column)]);
    const QRect& bounds = g.textRects[static_cast<size_t>(column)];
    const int rowTop = RowTop(g, row);
    int left = bounds.left();
    int top = rowTop + g.textTop;
    if (column == 0) {
        const int lines = static_cast<int>(text.count(u'\n')) + 1;
        top = rowTop + (g.rowHeight - lines * p.fontMetrics().height()) / 2;
        if (iconCode != 0) left = RowIndent(g, row) + g.iconWidth[0] + 2;
    }
    const QRect rect(QPoint(left, top), QPoint(bounds.right(), rowTop + g.rowHeight - 1));
    if (rect.width() <= 0 || rect.height() <= 0) return;
    int flags = Qt::AlignTop | Qt::TextExpandTabs;
    switch (g.alignment[static_cast<size_t>(column)]) {
        case Align::Right:
            flags |= Qt::AlignRight;
            break;
        case Align::Centre:
            flags |= Qt::AlignHCenter;
            break;
        case Align::Left:
            flags |= Qt::AlignLeft;
            break;
    }
    ColourRef colour = CellTextColour(g, column, row, kNoColour);
    if (colour == kNoColour && ctx.rowText) colour = ctx.rowText(row);
    p.setPen(colour == kNoColour ? ctx.foreground : Resolve(ctx, colour));
    p.drawText(rect, flags, text);
}

void DrawRowIcon(QPainter& p, const GridState& g, int row, int code) {
    const int size = g.iconWidth[0];
    const int x = RowIndent(g, row);
    if (g.iconStrip == nullptr || code < kFirstIconCode || x + size >= Edge(g, 0)) return;
    g.iconStrip->Draw(p, x, RowTop(g, row) + (g.rowHeight - size) / 2, code - kFirstIconCode);
}

}  // namespace

int EffectiveIconCode(const GridState& g, const PaintContext& ctx, int row) {
    int code = IconCode(g, row);
    if (code >= 50) {
        const int at = code - 50;
        code = at < ctx.iconCodeTable.size() ? ctx.iconCodeTable.at(at).unicode() : 0;
    }
    return code;
}

ColourRef CellTextColour(const GridState& g, int column, int row, ColourRef gridText) {
    const bool marked = IsMarked(g, row);
    if (IsCursorCell(g, column, row)) {
        if (marked) return g.cursorText;
        return g.cursorBack != kNoColour ? g.markText : gridText;
    }
    return marked ? g.markText : gridText;
}

void DrawGridPage(QPainter& painter, GridState& g, const PaintContext& ctx, const QRect& clip) {
    painter.save();
    painter.setClipRect(clip);
    painter.fillRect(clip, ctx.background);
    if (g.rowHeight <= 0 || g.visibleRows <= 0) {
        painter.restore();
        return;
    }
    const int height = g.visibleRows * g.rowHeight;
    DrawPageLines(painter, g, ctx, height);
    const int lastRow = std::min(LastPageRow(g), g.rowCount - 1);
    const int first = std::max(RowAtY(g, clip.top()), g.topRow);
    const int last = std::min(RowAtY(g, clip.bottom()), lastRow);
    for (int r = first; r <= last; ++r) DrawRowBackground(painter, g, ctx, r);
    if (g.treeLines && g.indentStep != 0) {
        // A row's line reaches up into the row above it: draw one row further.
        for (int r = first; r <= std::min(last + 1, lastRow); ++r) DrawTreePart(painter, g, ctx, r);
    }
    for (int r = first; r <= last; ++r) {
        const int code = EffectiveIconCode(g, ctx, r);
        for (int c = 0; c < g.columnCount; ++c) DrawCellText(painter, g, ctx, c, r, code);
        if (code != 0) DrawRowIcon(painter, g, r, code);
    }
    painter.restore();
}

}  // namespace catalog::grid
