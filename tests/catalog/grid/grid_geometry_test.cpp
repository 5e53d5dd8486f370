#include <gtest/gtest.h>

#include "catalog/grid/colour.h"
#include "catalog/grid/grid_geometry.h"

namespace catalog::grid {
namespace {

GridState Page(int rows, int visible, int top, int rowHeight = 20) {
    GridState g;
    g.rowCount = rows;
    g.visibleRows = visible;
    g.topRow = top;
    g.rowHeight = rowHeight;
    SetEdge(g, 0, 148);
    SetEdge(g, 1, 267);
    SetEdge(g, 2, 395);
    return g;
}

TEST(GridGeometry, RowAndColumnHitTests) {
    const GridState g = Page(100, 10, 5);
    EXPECT_EQ(RowAtY(g, 0), 5);
    EXPECT_EQ(RowAtY(g, 19), 5);
    EXPECT_EQ(RowAtY(g, 20), 6);
    EXPECT_EQ(RowAtY(g, -1), 4);
    EXPECT_EQ(ColumnAtX(g, 0), 0);
    EXPECT_EQ(ColumnAtX(g, 147), 0);
    EXPECT_EQ(ColumnAtX(g, 148), 1);
    EXPECT_EQ(ColumnAtX(g, 394), 2);
    EXPECT_EQ(ColumnAtX(g, 395), 3);  // right of the last column
    EXPECT_EQ(CellRect(g, 1, 6), QRect(QPoint(148, 20), QPoint(267, 39)));
}

TEST(GridGeometry, FitStretchesRowsToFillTheSurface) {
    // base = 13 + 1 + 1 = 15; 100 pixels hold 6 rows, stretched to 16 pixels.
    FitResult fit = ComputeFit(100, 13, 1, 1, 0, 0);
    EXPECT_EQ(fit.visibleRows, 6);
    EXPECT_EQ(fit.rowHeight, 16);
    // Without vertical lines the base row is one pixel lower.
    EXPECT_EQ(ComputeFit(14 * 6, 13, 0, 1, 0, 0).rowHeight, 14);
    EXPECT_EQ(ComputeFit(14 * 6, 13, 1, 1, 0, 0).rowHeight, 16);
    // Lower than one row: no rows, the row height keeps its value.
    fit = ComputeFit(10, 13, 1, 1, 17, 0);
    EXPECT_EQ(fit.visibleRows, 0);
    EXPECT_EQ(fit.rowHeight, 17);
}

TEST(GridGeometry, TextTopOffsetByRowHeight) {
    EXPECT_EQ(TextTopOffset(16, 13), 1);  // below 2t: centred single line
    EXPECT_EQ(TextTopOffset(30, 13), 2);  // below 2t + 8
    EXPECT_EQ(TextTopOffset(40, 13), (40 - 26 - 4) / 2);
}

TEST(GridGeometry, ScrollRangeOfAnEmptyOrShortGrid) {
    GridState g = Page(0, 10, 0);
    EXPECT_EQ(ScrollRangeOf(g).maximum, 0);
    EXPECT_EQ(ScrollRangeOf(g).largeChange, 32767);
    g.rowCount = 10;
    EXPECT_EQ(ScrollRangeOf(g).maximum, 0);
    g.rowCount = 25;
    EXPECT_EQ(ScrollRangeOf(g).maximum, 15);
    EXPECT_EQ(ScrollRangeOf(g).largeChange, 10);
}

TEST(GridGeometry, ShowRowTopRules) {
    // Row above the page: one row of context when it can.
    EXPECT_EQ(ShowRowTop(Page(100, 10, 50), 30, 55), 29);
    EXPECT_EQ(ShowRowTop(Page(100, 10, 50), 5, 55), 0);
    // Row below the page keeps the cursor's distance from the top.
    EXPECT_EQ(ShowRowTop(Page(100, 10, 20), 60, 23), 57);
    // A kept distance that would not show the row centres it.
    EXPECT_EQ(ShowRowTop(Page(100, 10, 20), 60, 5), 55);
    // Never beyond the last page.
    EXPECT_EQ(ShowRowTop(Page(100, 10, 20), 98, 23), 90);
    // A top row beyond the rows is first pulled back.
    EXPECT_EQ(ShowRowTop(Page(12, 10, 8), 3, 8), 2);
    EXPECT_EQ(ShowRowTop(Page(5, 10, 0), 4, 0), 0);
}

TEST(GridGeometry, ScrollTargets) {
    GridState g = Page(100, 10, 40);
    g.currentRow = 70;
    EXPECT_EQ(ScrollTarget(g, 41, false), 41);
    EXPECT_EQ(ScrollTarget(g, 39, false), 39);
    EXPECT_EQ(ScrollTarget(g, 45, false), 45);
    // A jump of a page or more follows the cursor two rows down the page...
    EXPECT_EQ(ScrollTarget(g, 61, true), 68);
    // ...or goes where it was asked when it does not follow the cursor.
    EXPECT_EQ(ScrollTarget(g, 49, false), 49);
    EXPECT_EQ(ScrollTarget(g, 95, true), 90);
    g.topRow = 90;
    EXPECT_EQ(ScrollTarget(g, 91, false), 90);  // already on the last page
    g.topRow = 0;
    EXPECT_EQ(ScrollTarget(g, -1, false), 0);
}

TEST(GridGeometry, TopRowToRevealAfterACursorMove) {
    const GridState g = Page(100, 10, 40);
    EXPECT_EQ(TopRowToReveal(g, 55), 46);
    EXPECT_EQ(TopRowToReveal(g, 30), 29);
    EXPECT_EQ(TopRowToReveal(g, 7), 0);
}

TEST(Colours, InactiveCursorColour) {
    EXPECT_EQ(InactiveCursorColour(kSystemHighlightText, false), 0x808080u);
    EXPECT_EQ(InactiveCursorColour(0x00FF00, false), 0x808080u);
    EXPECT_EQ(InactiveCursorColour(0xC0C0C0, false), 0x606060u);
    EXPECT_EQ(InactiveCursorColour(0xC0C0C0, true), 0xFFFFFFu);
    EXPECT_EQ(InactiveCursorColour(0x909090, false), 0xF0F0F0u);
    EXPECT_EQ(InactiveCursorColour(0x909090, true), 0xFFFFFFu);
    EXPECT_EQ(InactiveCursorColour(0x000000, false), 0xC0C0C0u);
    EXPECT_EQ(InactiveCursorColour(kSystemHighlightText, true), 0x808080u);
}

TEST(Colours, ColourReferencesAndSystemColours) {
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::HighlightedText, QColor(4, 5, 6));
    palette.setColor(QPalette::ButtonText, QColor(7, 8, 9));
    EXPECT_EQ(ToQColor(0x8CAAA9, palette), QColor(0xA9, 0xAA, 0x8C));
    EXPECT_EQ(ToQColor(kSystemHighlight, palette), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(kSystemHighlightText, palette), QColor(4, 5, 6));
    EXPECT_EQ(ToQColor(kSystemButtonText, palette), QColor(7, 8, 9));
    EXPECT_TRUE(IsLowColourDisplay(256));
    EXPECT_FALSE(IsLowColourDisplay(65536));
}

}  // namespace
}  // namespace catalog::grid
