// Removing rows from a folder model: the full list's records, its key index,
// the row map and the cursor stay consistent.
#include <gtest/gtest.h>

#include "catalog/rows/folder_model.h"
#include "catalog/rows/row_lookup.h"
#include "catalog/rows/row_record.h"

namespace catalog {
namespace {

// Rows A0 .. A9, levels 2 and 3 alternating; the level-3 rows are hidden.
FolderModel TenRows() {
    FolderModel m(false);
    for (int r = 0; r < 10; ++r) {
        const QString name = QStringLiteral("A%1").arg(r);
        m.list.Append(MakeRecord({name, QStringLiteral("D:\\") + name, {}, {}, name}), 2 + r % 2,
                      kIconFolder);
        if (r % 2 == 0) m.rowMap.push_back(r);
    }
    ShowMappedRows(m);
    return m;
}

TEST(RowRemoval, KeepsRecordsKeysAndTheRowMapInStep) {
    FolderModel m = TenRows();
    ASSERT_EQ(FindRowByKey(m, QStringLiteral("a6"))->shownRow, 3);
    m.grid.currentRow = 4;    // A8
    RemoveFullRows(m, 3, 4);  // A3 .. A6, of which A4 and A6 are shown
    ASSERT_EQ(m.list.Count(), 6);
    EXPECT_EQ(m.list.Cell(3, 0), u"A7");
    EXPECT_EQ(m.list.Cell(5, 1), u"D:\\A9");
    EXPECT_EQ(m.rowMap, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(m.grid.rowCount, 3);
    EXPECT_EQ(m.grid.currentRow, 2);  // still A8
    EXPECT_FALSE(FindRowByKey(m, QStringLiteral("A6")));
    const auto a8 = FindRowByKey(m, QStringLiteral("A8"));
    ASSERT_TRUE(a8);
    EXPECT_EQ(a8->fullRow, 4);
    EXPECT_EQ(a8->shownRow, 2);
    EXPECT_EQ(FindRowByKey(m, QStringLiteral("A9"))->shownRow, -1);
    // Cells are found where they now lie.
    EXPECT_TRUE(m.list.SetCell(3, 1, QStringLiteral("E:\\Seven")));
    EXPECT_EQ(m.list.Cell(4, 1), u"D:\\A8");

    // A cursor on a removed row goes to the row that now stands there.
    m.grid.currentRow = 1;  // A2
    RemoveFullRows(m, 2, 1);
    EXPECT_EQ(m.grid.currentRow, 1);
    EXPECT_EQ(RowPath(m, 1), u"A8");
    // Removing the rest leaves nothing behind.
    RemoveFullRows(m, 0, 100);
    EXPECT_EQ(m.list.Count(), 0);
    EXPECT_EQ(m.grid.rowCount, 0);
    EXPECT_EQ(m.grid.currentRow, 0);
    EXPECT_FALSE(FindRowByKey(m, QStringLiteral("A0")));
}

TEST(RowRemoval, KeyIndexFollowsKeyChangesAndInsertions) {
    FolderModel m = TenRows();
    EXPECT_EQ(m.list.RowOfKey(QStringLiteral("A5")), 5);
    m.list.SetCell(5, kKeyColumn, QStringLiteral("B5"));
    EXPECT_EQ(m.list.RowOfKey(QStringLiteral("A5")), -1);
    EXPECT_EQ(m.list.RowOfKey(QStringLiteral("B5")), 5);
    FullList extra;
    extra.Append(MakeRecord({QStringLiteral("N"), {}, {}, {}, QStringLiteral("N")}), 3,
                 kIconFolder);
    m.list.Insert(2, extra);
    EXPECT_EQ(m.list.RowOfKey(QStringLiteral("N")), 2);
    EXPECT_EQ(m.list.RowOfKey(QStringLiteral("B5")), 6);
}

}  // namespace
}  // namespace catalog
