#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/grid_input.h"
#include "grid_fixture.h"

namespace catalog::grid {
namespace {

using testing::GridFixture;

QPoint At(const GridState& g, int column, int row) {
    const QRect cell = CellRect(g, column, row);
    return cell.center() + QPoint(GridSurface::kBorder, GridSurface::kBorder);
}

TEST(GridMouse, ClicksSelectMarkAndIgnoreRowsBelowTheLast) {
    GridFixture f(5);
    f.surface->SetDefaultMouseHandling(true);
    QSignalSpy clicks(f.surface, &GridSurface::clicked);
    QTest::mouseClick(f.surface, Qt::LeftButton, Qt::NoModifier, At(f.g, 1, 3));
    EXPECT_EQ(f.g.currentRow, 3);
    EXPECT_EQ(f.g.currentColumn, 1);
    EXPECT_TRUE(IsMarked(f.g, 3));
    EXPECT_EQ(f.g.anchorRow, 3);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_TRUE(clicks.at(0).at(0).toBool());

    // Below the last row: nothing changes.
    const GridClickResult below = GridClick(*f.surface, f.g, kLeftButton, 0, 10, 8 * f.g.rowHeight);
    EXPECT_FALSE(below.cursorMoved);
    EXPECT_FALSE(below.marksChanged);
    EXPECT_EQ(f.g.currentRow, 3);
    EXPECT_EQ(f.g.markCount, 1);

    QTest::mouseClick(f.surface, Qt::LeftButton, Qt::ShiftModifier, At(f.g, 0, 1));
    EXPECT_EQ(f.g.markCount, 3);
    QTest::mouseClick(f.surface, Qt::LeftButton, Qt::ControlModifier, At(f.g, 0, 2));
    EXPECT_EQ(f.g.markCount, 2);
    EXPECT_FALSE(IsMarked(f.g, 2));
    // A plain click leaves the clicked row alone marked.
    QTest::mouseClick(f.surface, Qt::LeftButton, Qt::NoModifier, At(f.g, 0, 4));
    EXPECT_EQ(f.g.markCount, 1);
    EXPECT_TRUE(IsMarked(f.g, 4));
}

TEST(GridMouse, OtherButtonsMoveTheCursorWithoutMarking) {
    GridFixture f(5);
    const GridClickResult r = GridClick(*f.surface, f.g, kRightButton, 0, 10, 2 * f.g.rowHeight);
    EXPECT_TRUE(r.cursorMoved);
    EXPECT_FALSE(r.marksChanged);
    EXPECT_EQ(f.g.currentRow, 2);
    EXPECT_EQ(f.g.markCount, 0);
    // Right of the last column the cursor stays in the last column.
    GridClick(*f.surface, f.g, kRightButton, 0, 399, 0);
    EXPECT_EQ(f.g.currentColumn, 2);
}

TEST(GridMouse, DragMarksFromTheAnchorAndScrollsAtTheEdges) {
    GridFixture f(40);
    f.surface->SetDefaultMouseHandling(true);
    QTest::mousePress(f.surface, Qt::LeftButton, Qt::NoModifier, At(f.g, 0, 2));
    QTest::mouseMove(f.surface, At(f.g, 0, 6));
    // QTest moves carry no buttons; drive the drag as the surface would.
    GridDrag(*f.surface, f.g, f.bar, kLeftButton, 10, RowTop(f.g, 6) + 3);
    EXPECT_EQ(f.g.currentRow, 6);
    EXPECT_EQ(f.g.markCount, 5);
    EXPECT_EQ(f.g.anchorRow, 2);
    // At the bottom edge the grid scrolls one row per move.
    const int bottom = f.surface->InnerHeight() - 2;
    GridDrag(*f.surface, f.g, f.bar, kLeftButton, 10, bottom);
    EXPECT_EQ(f.g.topRow, 1);
    GridDrag(*f.surface, f.g, f.bar, kLeftButton, 10, bottom);
    EXPECT_EQ(f.g.topRow, 2);
    EXPECT_EQ(f.g.currentRow, RowAtY(f.g, bottom));
    EXPECT_TRUE(IsMarked(f.g, 2));
    EXPECT_TRUE(IsMarked(f.g, f.g.currentRow));
    EXPECT_EQ(f.g.markCount, f.g.currentRow - 2 + 1);
    // Near the top edge it scrolls back and the range shrinks towards the anchor.
    GridDrag(*f.surface, f.g, f.bar, kLeftButton, 10, 5);
    EXPECT_EQ(f.g.topRow, 1);
    EXPECT_EQ(f.g.currentRow, 1);
    EXPECT_EQ(f.g.markCount, 2);
    EXPECT_EQ(f.bar->value(), 1);
}

TEST(GridMouse, ScrollToBarFollowsTheBarUnlessTheEngineMovesIt) {
    GridFixture f(100);
    f.bar->setValue(4);  // the user drags the bar: a small move
    EXPECT_EQ(f.g.topRow, 4);
    f.bar->setValue(60);  // a far move repaints the page at the value
    EXPECT_EQ(f.g.topRow, 60);
    EXPECT_EQ(f.g.currentRow, 0);
    f.bar->setValue(69);  // exactly visible rows - 1 away
    EXPECT_EQ(f.g.topRow, 69);
    f.g.scrollBarUpdating = true;
    f.bar->setValue(10);
    EXPECT_EQ(f.g.topRow, 69);
    f.g.scrollBarUpdating = false;
    // The engine's own changes keep the bar in step without feedback.
    MoveCursorTo(*f.surface, f.g, f.bar, 95);
    EXPECT_EQ(f.bar->value(), f.g.topRow);
    EXPECT_EQ(f.bar->maximum(), 90);
    EXPECT_EQ(f.bar->pageStep(), 10);
}

TEST(GridMouse, ShowRowAndResetAfterARebuild) {
    GridFixture f(100);
    ShowRow(*f.surface, f.g, f.bar, 250);
    EXPECT_EQ(f.g.currentRow, 99);
    EXPECT_EQ(f.g.topRow, 90);
    EXPECT_EQ(f.bar->value(), 90);
    ClearGrid(*f.surface, f.g, f.bar);
    EXPECT_EQ(f.g.rowCount, 0);
    EXPECT_EQ(f.bar->maximum(), 0);
    EXPECT_EQ(f.bar->pageStep(), 32767);
    ShowRow(*f.surface, f.g, f.bar, 3);
    EXPECT_EQ(f.g.currentRow, 0);
    EXPECT_EQ(f.g.topRow, 0);
}

TEST(GridMouse, SetCellTextBeyondTheRowsChangesNothing) {
    GridFixture f(3);
    EXPECT_FALSE(SetCellText(*f.surface, f.g, 1, 3, u"x"));
    EXPECT_TRUE(SetCellText(*f.surface, f.g, 1, 0, u"E:\\Neu"));
    EXPECT_EQ(CellText(f.g, 1, 0), "E:\\Neu");
    EXPECT_EQ(CellText(f.g, 0, 2), "Row002");
}

}  // namespace
}  // namespace catalog::grid
