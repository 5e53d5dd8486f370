#include <gtest/gtest.h>

#include <QTest>
#include <QTextLayout>

#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/icon_strip.h"
#include "grid_fixture.h"

namespace catalog::grid {
namespace {

using testing::GridFixture;

QColor Pixel(GridFixture& f, int x, int y) {
    const QImage image = f.surface->grab().toImage();
    return image.pixelColor(x + GridSurface::kBorder, y + GridSurface::kBorder);
}

QColor Bgr(ColourRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

TEST(GridPaint, CursorFillAndFrame) {
    GridFixture f(20);
    f.g.cursorBack = 0x0000FF;  // red
    MoveCursorTo(*f.surface, f.g, f.bar, 3);
    const QRect cell = CellRect(f.g, 0, 3);
    EXPECT_EQ(Pixel(f, cell.right() - 4, cell.center().y()), QColor(255, 0, 0));
    EXPECT_EQ(Pixel(f, cell.left(), cell.top()), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(Pixel(f, cell.right() - 1, cell.bottom()), QColor(0xC0, 0xC0, 0xC0));
    // The old cursor row is plain again.
    EXPECT_EQ(Pixel(f, cell.right() - 4, RowTop(f.g, 0) + 3), Qt::white);
    // No fill when the cursor background is -1.
    f.g.cursorBack = kNoColour;
    EXPECT_EQ(Pixel(f, cell.right() - 4, cell.center().y()), Qt::white);
}

TEST(GridPaint, RuledLinesAtTheirPlaces) {
    GridFixture f(20);
    f.g.vLineWidth = 1;
    f.g.hLineWidth = 1;
    f.g.vLineColour = 0xB0B0B0;
    f.g.hLineColour = 0xA0A0A0;
    f.g.currentRow = 19;  // keep the cursor off the page
    const int rh = f.g.rowHeight;
    EXPECT_EQ(Pixel(f, Edge(f.g, 1) - 1, 5 * rh + 2), QColor(0xB0, 0xB0, 0xB0));
    EXPECT_EQ(Pixel(f, Edge(f.g, 0) - 1, 2), QColor(0xB0, 0xB0, 0xB0));
    EXPECT_EQ(Pixel(f, Edge(f.g, 0) - 3, 4 * rh - 1), QColor(0xA0, 0xA0, 0xA0));
    EXPECT_EQ(Pixel(f, Edge(f.g, 0) - 3, 4 * rh - 2), Qt::white);
    // A line in the background colour is not drawn over marked rows either.
    SetMark(f.g, 4, true);
    f.g.markBack = 0x00FF00;
    EXPECT_EQ(Pixel(f, Edge(f.g, 0) - 3, 4 * rh + 3), QColor(0, 255, 0));
    EXPECT_EQ(Pixel(f, Edge(f.g, 0) - 1, 4 * rh + 3), QColor(0xB0, 0xB0, 0xB0));
}

TEST(GridPaint, MarkedRowsAndTheCursorInAMarkedRow) {
    GridFixture f(20);
    f.g.markBack = 0xFF0000;  // blue
    f.g.markText = 0xFFFFFF;
    f.g.cursorBack = 0x0000FF;
    SetMark(f.g, 2, true);
    SetMark(f.g, 3, true);
    f.g.currentRow = 3;
    const QRect cell = CellRect(f.g, 0, 3);
    EXPECT_EQ(Pixel(f, cell.right() - 4, RowTop(f.g, 2) + 3), QColor(0, 0, 255));
    // The cursor cell of a marked row keeps the mark fill, framed.
    EXPECT_EQ(Pixel(f, cell.right() - 4, cell.center().y()), QColor(0, 0, 255));
    EXPECT_EQ(Pixel(f, cell.left(), cell.top()), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(CellTextColour(f.g, 0, 3, 0), f.g.cursorText);
    EXPECT_EQ(CellTextColour(f.g, 1, 3, 0), f.g.markText);
    EXPECT_EQ(CellTextColour(f.g, 1, 5, 0x123456), 0x123456u);
}

TEST(GridPaint, TreeLinesAndExpandBoxes) {
    GridFixture f(0);
    f.g.treeLines = true;
    f.g.indentStep = 14;
    // Row 0 at level 1 with children shown, rows 1 and 2 below it, row 2 last
    // and collapsed with children.
    const int indents[] = {20, 34, 34};
    const int flags[] = {kTreeHasChildren, 0, kTreeHasChildren | kTreeLastChild};
    for (int r = 0; r < 3; ++r) {
        AppendRow(f.g, {QStringLiteral("n%1").arg(r)});
        SetIconCode(f.g, r, 10);  // no strip: only moves the text past the tree
        f.g.indent[r] = indents[r];
        SetTreeFlags(f.g, r, flags[r]);
    }
    f.g.currentRow = 1;
    f.g.currentColumn = 2;
    ResetGrid(*f.surface, f.g, f.bar, 0);
    f.g.currentRow = 1;
    const int rh = f.g.rowHeight;
    const QColor grey(0x80, 0x80, 0x80);
    // Row 0's box: expanded (minus only).
    int x0 = 20 - 11;
    int ym = rh / 2;
    EXPECT_EQ(Pixel(f, x0 - 4, ym), grey);
    EXPECT_EQ(Pixel(f, x0 - 2, ym), grey);
    EXPECT_EQ(Pixel(f, x0, ym - 2), Qt::white);
    // Row 2's box: collapsed (plus).
    x0 = 34 - 11;
    ym = 2 * rh + rh / 2;
    EXPECT_EQ(Pixel(f, x0, ym - 2), grey);
    EXPECT_EQ(Pixel(f, x0 + 4, ym + 4), grey);
    // Row 1: a line from the middle of row 0 through the row, and its connector.
    EXPECT_EQ(Pixel(f, 34 - 11, rh + 1), Qt::black);
    EXPECT_EQ(Pixel(f, 34 - 11 + 9, rh + rh / 2), Qt::black);
    // Row 2 is the last child: its line ends at its middle.
    EXPECT_EQ(Pixel(f, 34 - 11, 3 * rh - 1), Qt::white);
}

TEST(GridPaint, IconsAndTheFirstColumnsEdge) {
    GridFixture f(0);
    const IconStrip strip = IconStrip::Build(f.g.rowHeight - 1);
    f.g.iconStrip = &strip;
    f.g.iconWidth[0] = strip.Size();
    f.g.iconHeight[0] = strip.Size();
    AppendRow(f.g, {"fits"});
    AppendRow(f.g, {"cut"});
    AppendRow(f.g, {"mapped"});
    f.g.indent[0] = 6;
    f.g.indent[1] = Edge(f.g, 0) - strip.Size();  // would reach the edge
    f.g.indent[2] = 6;
    SetIconCode(f.g, 0, 13);
    SetIconCode(f.g, 1, 13);
    SetIconCode(f.g, 2, 51);
    f.surface->SetIconCodeTable(QString(QChar(0)) + QChar(13));
    f.g.currentRow = 0;
    f.g.currentColumn = 2;
    ResetGrid(*f.surface, f.g, f.bar, 0);
    const QImage image = f.surface->grab().toImage();
    auto nonWhite = [&](int row, int x) {
        int count = 0;
        for (int y = RowTop(f.g, row); y < RowTop(f.g, row) + f.g.rowHeight; ++y) {
            for (int dx = 0; dx < strip.Size(); ++dx) {
                if (image.pixelColor(x + dx + 2, y + 2) != Qt::white) ++count;
            }
        }
        return count;
    };
    EXPECT_GT(nonWhite(0, 6), 10);
    EXPECT_EQ(nonWhite(1, f.g.indent[1]), 0);
    EXPECT_GT(nonWhite(2, 6), 10);
    // The image and mask halves of the strip: transparent corners are black
    // in the image and white in the mask.
    EXPECT_EQ(strip.Strip().pixelColor(0, 0), Qt::black);
    EXPECT_EQ(strip.Strip().pixelColor(strip.Size(), 0), Qt::white);
    EXPECT_EQ(strip.IconCount(), 28);
    EXPECT_EQ(BuildIconMemory().size(), QSize(32, 28 * 16));
}

TEST(GridPaint, JapaneseTextHasGlyphs) {
    GridFixture f(0);
    AppendRow(f.g, {QStringLiteral("写真フォルダー"), QStringLiteral("保存先"),
                    QStringLiteral("最終保存日付")});
    f.g.cursorShown = false;
    ResetGrid(*f.surface, f.g, f.bar, 0);
    for (int c = 0; c < 3; ++c) {
        QTextLayout layout(CellText(f.g, c, 0), f.surface->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            for (quint32 index : run.glyphIndexes()) {
                EXPECT_NE(index, 0u) << "missing glyph in column " << c;
                ++glyphs;
            }
        }
        EXPECT_EQ(glyphs, CellText(f.g, c, 0).size());
    }
    // Something dark is drawn where the text of column 0 goes.
    const QImage image = f.surface->grab().toImage();
    int dark = 0;
    for (int y = 0; y < f.g.rowHeight; ++y) {
        for (int x = 4; x < 100; ++x) {
            if (image.pixelColor(x + 2, y + 2).lightness() < 100) ++dark;
        }
    }
    EXPECT_GT(dark, 20);
}

TEST(GridPaint, ActiveGridGivesTheOtherGridTheInactiveColour) {
    GridFixture folder(5);
    GridFixture file(5);
    GridState registrations;
    GridSide folderSide{folder.surface, folder.bar, {&folder.g, &registrations}, {}, {}};
    GridSide fileSide{file.surface, file.bar, {&file.g}, {}, {}};
    CursorColourSettings colours{0x0000FF, kSystemHighlightText, false};
    int active = kFolderGridActive;
    ApplyActiveGrid(active, folderSide, fileSide, colours);
    EXPECT_EQ(folder.g.cursorBack, 0x0000FFu);
    EXPECT_EQ(registrations.cursorBack, 0x0000FFu);
    EXPECT_EQ(file.g.cursorBack, 0x808080u);
    EXPECT_FALSE(SetActiveGrid(active, kFolderGridActive, folderSide, fileSide, colours));
    colours.selFore = 0xC0C0C0;
    EXPECT_TRUE(SetActiveGrid(active, kFileGridActive, folderSide, fileSide, colours));
    EXPECT_EQ(folder.g.cursorBack, 0x606060u);
    EXPECT_EQ(file.g.cursorBack, 0x0000FFu);
    EXPECT_EQ(Pixel(folder, Edge(folder.g, 0) - 4, 5), Bgr(0x606060));
    colours.lowColour = true;
    ApplyActiveGrid(active, folderSide, fileSide, colours);
    EXPECT_EQ(folder.g.cursorBack, 0xFFFFFFu);
}

TEST(GridPaint, SmallScrollsRepaintOnlyTheUncoveredRows) {
    GridFixture f(50);
    f.host->resize(420, 400);
    f.host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.host.get()));
    QApplication::processEvents();
    ScrollGridTo(*f.surface, f.g, f.bar, 1, false);
    QApplication::processEvents();
    const int rh = f.g.rowHeight;
    QRect painted = f.surface->LastPaintedRegion().boundingRect();
    EXPECT_LE(painted.height(), 2 * rh);
    EXPECT_GE(painted.bottom(), 10 * rh - 1);
    ScrollGridTo(*f.surface, f.g, f.bar, 4, false);
    QApplication::processEvents();
    painted = f.surface->LastPaintedRegion().boundingRect();
    EXPECT_LE(painted.height(), 4 * rh);
    EXPECT_EQ(f.g.topRow, 4);
    // What the screen shows equals a fresh page.
    const QImage shown = f.surface->grab().toImage();
    EXPECT_EQ(CellText(f.g, 0, f.g.topRow), "Row004");
    EXPECT_FALSE(shown.isNull());
}

}  // namespace
}  // namespace catalog::grid
