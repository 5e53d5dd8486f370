#include <gtest/gtest.h>

#include "catalog/grid/grid_state.h"

namespace catalog::grid {
namespace {

QString Row(const QString& name, const QString& f1, const QString& f2) {
    return QChar(8) + name + QChar(2) + f1 + QChar(3) + f2 + QChar(4) + QChar(5) + QChar(6);
}

GridState ThreeRows() {
    GridState g;
    ClearRows(g);
    const QString text =
        Row("Alpha", "D:\\A", "2024/01/01 10:00") + Row("写真", "", "") + QChar(8) + "Only";
    std::copy(text.begin(), text.end(), g.rows.begin());
    IndexRows(g);
    return g;
}

TEST(GridRows, IndexFindsEveryRowAndTheTerminator) {
    const GridState g = ThreeRows();
    ASSERT_EQ(g.rowCount, 3);
    EXPECT_EQ(g.rowStarts[0], 0);
    EXPECT_EQ(g.rows.at(g.rowStarts[1]), QChar(8));
    EXPECT_EQ(g.rows.at(g.rowStarts[3]), QChar(0));
}

TEST(GridRows, CellTextCutsAtTheSeparators) {
    const GridState g = ThreeRows();
    EXPECT_EQ(CellText(g, 0, 0), "Alpha");
    EXPECT_EQ(CellText(g, 1, 0), "D:\\A");
    EXPECT_EQ(CellText(g, 2, 0), "2024/01/01 10:00");
    EXPECT_EQ(CellText(g, 3, 0), "");
    EXPECT_EQ(CellText(g, 0, 1), "写真");
    EXPECT_EQ(CellText(g, 1, 1), "");
    // A row without separators: column 0 runs to the row's end, others are empty.
    EXPECT_EQ(CellText(g, 0, 2), "Only");
    EXPECT_EQ(CellText(g, 1, 2), "");
    EXPECT_EQ(CellText(g, 0, 3), "");
    EXPECT_EQ(CellText(g, 0, -1), "");
}

TEST(GridRows, ReplaceCellMovesLaterRowsBothWays) {
    GridState g = ThreeRows();
    const int secondStart = g.rowStarts[1];
    ASSERT_TRUE(ReplaceCellText(g, 1, 0, u"E:\\Much\\Longer\\Destination"));
    EXPECT_EQ(CellText(g, 1, 0), "E:\\Much\\Longer\\Destination");
    EXPECT_EQ(CellText(g, 2, 0), "2024/01/01 10:00");
    EXPECT_EQ(g.rowStarts[1], secondStart + 22);
    EXPECT_EQ(CellText(g, 0, 1), "写真");
    EXPECT_EQ(CellText(g, 0, 2), "Only");

    ASSERT_TRUE(ReplaceCellText(g, 0, 0, u""));
    EXPECT_EQ(CellText(g, 0, 0), "");
    EXPECT_EQ(CellText(g, 1, 0), "E:\\Much\\Longer\\Destination");
    EXPECT_EQ(CellText(g, 0, 2), "Only");
    // The shrunk buffer still ends at the first 0 and indexes the same rows.
    GridState copy = g;
    IndexRows(copy);
    EXPECT_EQ(copy.rowCount, 3);
    EXPECT_EQ(copy.rowStarts, g.rowStarts);
}

TEST(GridRows, ReplaceCellRefusesMissingRowsAndSeparators) {
    GridState g = ThreeRows();
    EXPECT_FALSE(ReplaceCellText(g, 0, 3, u"x"));
    EXPECT_FALSE(ReplaceCellText(g, 1, 2, u"x"));  // the row has no column 1
    EXPECT_EQ(CellText(g, 0, 2), "Only");
}

TEST(GridRows, ReplaceCellGrowsTheBufferWhenSpareRunsLow) {
    GridState g;
    ClearRows(g);
    ASSERT_EQ(g.rows.size(), kClearedBufferLength);
    AppendRow(g, {"a", "b"});
    AppendRow(g, {"last", "x"});
    // Leave just under 256 spare characters after the terminator.
    const int terminator = g.rowStarts[2];
    const QString big(kClearedBufferLength - terminator - 1 - 200, QChar('z'));
    ASSERT_TRUE(ReplaceCellText(g, 1, 0, big));
    EXPECT_EQ(g.rows.size(), kClearedBufferLength + kBufferGrowth);
    EXPECT_EQ(CellText(g, 0, 1), "last");
    EXPECT_EQ(CellText(g, 1, 1), "x");
    // A text far longer than one growth step still fits.
    ASSERT_TRUE(ReplaceCellText(g, 0, 0, QString(3 * kBufferGrowth, QChar('y'))));
    EXPECT_EQ(CellView(g, 0, 0).size(), 3 * kBufferGrowth);
    EXPECT_EQ(CellText(g, 1, 1), "x");
    EXPECT_GE(g.rows.size() - g.rowStarts[2] - 1, kBufferSpareMinimum);
}

TEST(GridRows, PerRowArraysStartAt100AndGrowBy200) {
    GridState g;
    ClearRows(g);
    EXPECT_EQ(RowRoom(g), 100);
    EnsureRowRoom(g, 99);
    EXPECT_EQ(RowRoom(g), 100);
    EnsureRowRoom(g, 100);
    EXPECT_EQ(RowRoom(g), 300);
    EnsureRowRoom(g, 700);
    EXPECT_EQ(RowRoom(g), 900);
    for (int r = 0; r < 950; ++r) AppendRow(g, {QString::number(r)});
    EXPECT_EQ(g.rowCount, 950);
    EXPECT_EQ(CellText(g, 0, 949), "949");
    SetIconCode(g, 949, 10);
    EXPECT_EQ(IconCode(g, 949), 10);
    EXPECT_EQ(IconCode(g, 5), 0);
}

TEST(GridRows, ClearResetsCursorMarksAndRows) {
    GridState g = ThreeRows();
    g.currentRow = 2;
    g.topRow = 1;
    g.markCount = 1;
    g.rowMark[1] = -1;
    g.anchorRow = 2;
    ClearRows(g);
    EXPECT_EQ(g.rowCount, 0);
    EXPECT_EQ(g.currentRow, 0);
    EXPECT_EQ(g.topRow, 0);
    EXPECT_EQ(g.markCount, 0);
    EXPECT_EQ(g.anchorRow, 0);
    EXPECT_EQ(g.rowMark[1], 0);
    EXPECT_EQ(g.rows.size(), kClearedBufferLength);
}

}  // namespace
}  // namespace catalog::grid
