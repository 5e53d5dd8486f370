#include <gtest/gtest.h>

#include "catalog/grid/catalog_layout.h"
#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/header_layout.h"

namespace catalog::grid {
namespace {

TEST(HeaderLayout, AllColumnsFitAndTheLastStretches) {
    const HeaderLayout l = ComputeHeaderLayout({300, 120, 120}, 700, 696);
    EXPECT_EQ(l.laidOut, 3);
    EXPECT_EQ(l.edges[0], 298);
    EXPECT_EQ(l.edges[1], 417);
    EXPECT_EQ(l.edges[2], 695);
    EXPECT_EQ(l.widths[2], 696 - 417);
    EXPECT_EQ(l.widths[1], 120);
}

TEST(HeaderLayout, ColumnsThatStartBeyondTheHeaderGetNoTitleAndNoStretch) {
    // Column 1 passes the header's width: it is laid out, column 2 is not.
    HeaderLayout l = ComputeHeaderLayout({300, 120, 120}, 380, 376);
    EXPECT_EQ(l.laidOut, 2);
    EXPECT_EQ(l.edges[1], 417);
    EXPECT_EQ(l.widths[2], 120);  // not stretched
    EXPECT_EQ(l.edges[2], 536);   // still consistent, off the surface
    // All three laid out, the third passing the edge: it is cut to the grid.
    l = ComputeHeaderLayout({300, 120, 120}, 500, 496);
    EXPECT_EQ(l.laidOut, 3);
    EXPECT_EQ(l.edges[2], 495);
}

GridState LaidOut() {
    GridState g;
    ApplyHeaderLayout(g, ComputeHeaderLayout({300, 120, 120}, 700, 696));
    return g;
}

TEST(HeaderPress, TitlesSelectAndBordersDragWithinLimits) {
    const GridState g = LaidOut();  // edges 298, 417, 695
    HeaderPress p = PlanHeaderPress(g, 150, 700);
    EXPECT_EQ(p.kind, HeaderPressKind::SelectColumn);
    EXPECT_EQ(p.column, 0);
    // Near the right border of column 0.
    p = PlanHeaderPress(g, 292, 700);
    ASSERT_EQ(p.kind, HeaderPressKind::DragBorder);
    EXPECT_EQ(p.dragMode, 2);
    EXPECT_EQ(p.column, 0);
    EXPECT_EQ(p.minimum, 20);
    EXPECT_EQ(p.maximum, 298 + 120 - 20);
    // Near the left border of column 1: the drag changes column 0.
    p = PlanHeaderPress(g, 302, 700);
    ASSERT_EQ(p.kind, HeaderPressKind::DragBorder);
    EXPECT_EQ(p.dragMode, 1);
    EXPECT_EQ(p.column, 0);
    EXPECT_EQ(p.minimum, 20);
    EXPECT_EQ(p.maximum, 298 + 120 - 20);
    // Near column 1's right border: limited by column 2's stretched width and the header.
    p = PlanHeaderPress(g, 415, 500);
    ASSERT_EQ(p.kind, HeaderPressKind::DragBorder);
    EXPECT_EQ(p.column, 1);
    EXPECT_EQ(p.minimum, 298 + 20);
    EXPECT_EQ(p.maximum, 500);
    // The right border of the last column and the left border of column 0 never drag.
    EXPECT_EQ(PlanHeaderPress(g, 690, 700).kind, HeaderPressKind::None);
    EXPECT_EQ(PlanHeaderPress(g, 3, 700).kind, HeaderPressKind::None);
    EXPECT_TRUE(NearDraggableBorder(g, 408));
    EXPECT_FALSE(NearDraggableBorder(g, 690));
    EXPECT_EQ(DraggedWidth(g, 1, 449), 449 + 1 - 298);
}

TEST(CatalogLayout, FolderShareAndZeroShare) {
    const ScreenScale s{15, 15};
    FolderGridPlan p = PlanFolderGrid(9000, 6000, 300, 900, 255, 60, s);
    EXPECT_EQ(p.bottom, 6000 - 300 - 45);
    EXPECT_EQ(p.total, p.bottom - 900 - 75);
    EXPECT_EQ(p.width, 9000 - 255 - 120);
    EXPECT_EQ(p.height, 60 * p.total / 100);
    p = PlanFolderGrid(9000, 6000, 300, 900, 255, 0, s);
    EXPECT_EQ(p.height, 50 * p.total / 100);
    const QRect file = PlanFileGrid(p, 60, 900, 2400, 285, s);
    EXPECT_EQ(file.top(), 900 + 2400 + 285 + 60);
    EXPECT_EQ(file.height(), p.total - 2400 - 240);
    EXPECT_EQ(PlanStatusLine(9000, p.bottom, 300, s), QRect(5100, p.bottom, 9000 - 60 - 5100, 300));
    EXPECT_EQ(PlanFolderLabel(60, p.bottom, 300, s).width(), 5100 - 60 - 120);
}

TEST(CatalogLayout, SplitterLimitsAndShare) {
    const ScreenScale s{15, 15};
    // Released 1000 twips below the folder header: the minimum 1800 is stored.
    EXPECT_EQ(SplitterPercent(600 + 1000, 600, 9000, 6000, s), 30);
    // Far down: at most inner height - 2800.
    EXPECT_EQ(SplitterPercent(9000, 600, 9000, 6200, s), 100);
    EXPECT_EQ(SplitterPercent(600 + 90 + 3000, 600, 9000, 6000, s), 50);
    const QRect dir(60, 900, 8000, 3000);
    EXPECT_TRUE(InSplitterZone(100, 3900 - 75, dir, 4200, s));
    EXPECT_TRUE(InSplitterZone(100, 4200 + 75, dir, 4200, s));
    EXPECT_FALSE(InSplitterZone(100, 3900 - 76, dir, 4200, s));
    EXPECT_FALSE(InSplitterZone(8100, 4000, dir, 4200, s));
}

TEST(CatalogLayout, MinimiseRule) {
    ResizeGate gate;
    EXPECT_FALSE(gate.Admit(false));  // still being set up
    gate.settingUp = false;
    EXPECT_TRUE(gate.Admit(false));
    EXPECT_FALSE(gate.Admit(true));
    EXPECT_FALSE(gate.Admit(false));  // restored: the previous layout stays
    EXPECT_TRUE(gate.Admit(false));   // the next real resize lays out again
}

}  // namespace
}  // namespace catalog::grid

#include "catalog/grid/display_colours.h"

namespace catalog::grid {
namespace {

TEST(DisplayColours, StateSettingsAndIconSize) {
    EXPECT_EQ(DefaultDisplayColours(true).titleBack, 0x808080u);
    EXPECT_EQ(DefaultDisplayColours(false).titleFore, 0xEBF0F5u);
    GridState drive, files;
    ApplyColoursToState(files, DefaultDisplayColours(false), -1, -1, 2, 3, true);
    EXPECT_EQ(files.vLineWidth, 1);
    EXPECT_EQ(files.hLineWidth, 1);
    EXPECT_EQ(files.interleave, 2);
    EXPECT_EQ(files.nameCase[0], 3);
    EXPECT_EQ(files.alignment[2], Align::Right);
    EXPECT_EQ(files.cursorBack, kSystemHighlight);
    drive.rowHeight = 18;
    IconStrip strip;
    BuildIconStrip(strip, drive, {&drive}, {&drive, &files}, files);
    EXPECT_EQ(strip.Size(), 16);
    EXPECT_EQ(files.iconWidth[0], 16);
    EXPECT_EQ(drive.indentStep, 18);
    EXPECT_EQ(files.indentStep, 0);
    EXPECT_EQ(files.iconStrip, &strip);
}

}  // namespace
}  // namespace catalog::grid
