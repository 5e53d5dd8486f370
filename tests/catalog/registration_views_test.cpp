#include <gtest/gtest.h>

#include "catalog/rows/folder_model.h"
#include "catalog/rows/registration_views.h"
#include "catalog/rows/row_lookup.h"
#include "catalog/rows/row_record.h"
#include "store/backup_entry.h"
#include "support/temp_drives.h"

namespace catalog {
namespace {

store::BackupEntry Entry(const QString& source, const QString& destination,
                         store::SubFolders mode = store::SubFolders::None,
                         const QString& last = QStringLiteral("2024/01/02 03:04")) {
    store::BackupEntry e;
    e.sourceFolder = source;
    e.destination = destination;
    e.lastBackup = store::BackupTime::FromText(last);
    e.subFolders = mode;
    return e;
}

struct Shown {
    QString name;
    int level;
    int icon;
};

std::vector<Shown> ShownRows(const FolderModel& m) {
    std::vector<Shown> rows;
    for (int full : m.rowMap) {
        rows.push_back({m.list.Cell(full, 0).toString(), m.list.Level(full), m.list.Icon(full)});
    }
    return rows;
}

class RegistrationViews : public ::testing::Test {
  protected:
    testing_support::TempDrives drives;
    store::DefinitionList list;
    FolderModel m{false};
    void Put(const store::BackupEntry& e) { list.PutEntry(e); }
};

TEST_F(RegistrationViews, EmptyListHasNoRowsAtAll) {
    BuildSettingsView(m, list, QStringLiteral("C:\\Kibako.Def"));
    EXPECT_EQ(m.grid.rowCount, 0);
    BuildDestinationView(m, list, QStringLiteral("C:\\Kibako.Def"));
    EXPECT_EQ(m.grid.rowCount, 0);
}

TEST_F(RegistrationViews, WholeTreeRegistrationStaysInThePathOfAFolderBelow) {
    Put(Entry(QStringLiteral("C:\\DATA"), QStringLiteral("D:\\Data.LZH"),
              store::SubFolders::InOneArchive));
    Put(Entry(QStringLiteral("C:\\DATA\\WORK"), QStringLiteral("D:\\Work")));
    BuildSettingsView(m, list, QStringLiteral("C:\\Kibako.Def"));
    const auto rows = ShownRows(m);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2].icon, kIconWholeTree);
    // A row's path is its registration's exact source, never rebuilt from
    // the shown names.
    EXPECT_EQ(RowPath(m, 2), u"C:\\DATA");
    EXPECT_EQ(RowPath(m, 3), u"C:\\DATA\\WORK");
    EXPECT_EQ(StoredPath(m, m.rowMap[3]), u"C:\\DATA\\WORK");
}

TEST_F(RegistrationViews, FolderAndItsSubFolderNeedNoPathRow) {
    Put(Entry(QStringLiteral("C:\\A"), QStringLiteral("D:\\Back\\A")));
    Put(Entry(QStringLiteral("C:\\A\\B"), QStringLiteral("D:\\Back\\B"),
              store::SubFolders::InOneArchive));
    Put(Entry(QStringLiteral("C:\\A\\C\\My Documents"), QStringLiteral("D:\\M")));
    BuildSettingsView(m, list, QStringLiteral("C:\\Kibako.Def"));
    const auto rows = ShownRows(m);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].name, QStringLiteral("バックアップ設定"));
    EXPECT_EQ(rows[0].level, 0);
    EXPECT_EQ(rows[0].icon, kIconHeader);
    EXPECT_EQ(m.list.Cell(0, 1), u"C:\\Kibako.Def");
    EXPECT_EQ(rows[1].name, u"C:");
    EXPECT_EQ(rows[1].level, 2);
    EXPECT_EQ(rows[1].icon, kIconDrive);
    EXPECT_EQ(rows[2].name, u"A");
    EXPECT_EQ(rows[2].level, 3);
    EXPECT_EQ(m.list.ColourSlot(2), kSlotRegistration);
    EXPECT_EQ(rows[3].name, u"B");
    EXPECT_EQ(rows[3].level, 4);
    EXPECT_EQ(rows[3].icon, kIconWholeTree);
    // C is a path row between A and My Documents.
    EXPECT_EQ(rows[4].name, u"C");
    EXPECT_EQ(rows[4].level, 4);
    EXPECT_EQ(m.list.ColourSlot(4), kSlotPath);
    EXPECT_EQ(m.list.Cell(4, 1), u"");
    EXPECT_EQ(rows[5].icon, kIconMyDocuments);
    EXPECT_EQ(m.list.Cell(5, 4), u"C:\\A\\C\\My Documents");
    EXPECT_EQ(m.list.Cell(3, 1), u"D:\\Back\\B");
    EXPECT_EQ(m.list.Cell(3, 2), u"2024/01/02 03:04");
    EXPECT_EQ(m.list.Cell(3, 3), u"20000000");
    // Tree flags: A has children, the last rows of each level end their lines.
    EXPECT_TRUE(grid::TreeFlags(m.grid, 2) & grid::kTreeHasChildren);
    EXPECT_FALSE(grid::TreeFlags(m.grid, 3) & grid::kTreeHasChildren);
    EXPECT_FALSE(grid::TreeFlags(m.grid, 3) & grid::kTreeLastChild);
    EXPECT_TRUE(grid::TreeFlags(m.grid, 4) & grid::kTreeLastChild);
    EXPECT_TRUE(grid::TreeFlags(m.grid, 5) & grid::kTreeLastChild);
}

TEST_F(RegistrationViews, DriveRowsTakeTheDriveTypeIcon) {
    Put(Entry(QStringLiteral("C:\\X"), QStringLiteral("D:\\X")));
    Put(Entry(QStringLiteral("E:\\Y"), QStringLiteral("D:\\Y")));
    Put(Entry(QStringLiteral("R:\\Z"), QStringLiteral("D:\\Z")));
    BuildSettingsView(m, list, QString());
    EXPECT_EQ(m.list.Icon(1), kIconDrive);
    EXPECT_EQ(m.list.Icon(3), kIconRemovable);
    EXPECT_EQ(m.list.Icon(5), kIconCdRom);
}

TEST_F(RegistrationViews, ArchiveTimeRecoversANeverBackedUpEntry) {
    drives.WriteFile(QStringLiteral("C:\\Arc\\A.LZH"), "x", 1700000000);
    Put(Entry(QStringLiteral("C:\\A"), QStringLiteral("C:\\Arc\\A.LZH"),
              store::SubFolders::InOneArchive, QString(16, u' ')));
    list.SetModified(false);
    BuildSettingsView(m, list, QString());
    EXPECT_TRUE(list.Modified());
    EXPECT_TRUE(m.list.Cell(2, 2).front().isDigit());
    EXPECT_TRUE(list.Body().contains(m.list.Cell(2, 2).toString()));
}

TEST_F(RegistrationViews, DestinationViewSortsByDestinationWithRemovableMedia) {
    Put(Entry(QStringLiteral("C:\\Photos"), QStringLiteral("(E)PHOTOS\\Backup")));
    Put(Entry(QStringLiteral("C:\\Docs"), QStringLiteral("C:\\Arc\\Docs.ZIP"),
              store::SubFolders::InOneArchive));
    Put(Entry(QStringLiteral("C:\\Mail"), QStringLiteral("C:\\Arc\\Mail.LZH"),
              store::SubFolders::InOneArchive));
    BuildDestinationView(m, list, QString());
    const auto rows = ShownRows(m);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[1].name, u"(E)PHOTOS");
    EXPECT_EQ(rows[1].icon, kIconRemovable);
    EXPECT_EQ(rows[1].level, 2);
    EXPECT_EQ(rows[2].name, u"Backup");
    EXPECT_EQ(rows[2].level, 3);
    EXPECT_EQ(m.list.Cell(2, 1), u"C:\\Photos");
    EXPECT_EQ(rows[3].name, u"C:");
    EXPECT_EQ(rows[4].name, u"Arc");
    EXPECT_EQ(rows[5].name, u"Docs.ZIP");
    EXPECT_EQ(rows[5].icon, kIconZip);
    EXPECT_EQ(rows[6].icon, kIconLzh);
    EXPECT_EQ(m.list.Cell(6, 4), u"C:\\Arc\\Mail.LZH");
    // The source path of a row is found by its destination key.
    const auto found = FindRowByKey(m, QStringLiteral("c:\\arc\\docs.zip"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->shownRow, 5);
    EXPECT_EQ(RowPath(m, 5), u"C:\\Arc\\Docs.ZIP");
}

TEST_F(RegistrationViews, DestinationViewCutsTheBodyAtAMalformedEntry) {
    const QString body = QChar(8) + QStringLiteral("C:\\A") + QChar(2) + QStringLiteral("D:\\A") +
                         QChar(3) + QStringLiteral("2024/01/02 03:04") + QChar(4) +
                         QStringLiteral("00000000") + QChar(5) + QChar(6) + QChar(8) +
                         QStringLiteral("C:\\B broken") + QChar(0);
    list.SetBody(body);
    BuildDestinationView(m, list, QString());
    EXPECT_FALSE(list.Body().contains(QStringLiteral("broken")));
    EXPECT_TRUE(list.Body().endsWith(QChar(0)));
    EXPECT_EQ(m.grid.rowCount, 3);
}

TEST_F(RegistrationViews, CollapseAndExpandKeepTheRowMap) {
    Put(Entry(QStringLiteral("C:\\A"), QStringLiteral("D:\\A")));
    Put(Entry(QStringLiteral("C:\\A\\B"), QStringLiteral("D:\\B")));
    Put(Entry(QStringLiteral("C:\\A\\B\\C"), QStringLiteral("D:\\C")));
    Put(Entry(QStringLiteral("E:\\X"), QStringLiteral("D:\\X")));
    BuildSettingsView(m, list, QString());
    ASSERT_EQ(m.grid.rowCount, 7);
    const auto consistent = [this] {
        for (int r = 0; r < m.grid.rowCount; ++r) {
            if (grid::CellText(m.grid, 4, r) != m.list.Cell(m.rowMap[size_t(r)], 4)) return false;
        }
        return m.grid.rowCount == static_cast<int>(m.rowMap.size());
    };
    m.grid.currentRow = 6;
    CollapseToLevel2(m);
    EXPECT_EQ(m.grid.rowCount, 3);
    EXPECT_TRUE(consistent());
    EXPECT_EQ(ExpandRow(m, 1, false, {}), 1);  // C: shows A only
    EXPECT_TRUE(consistent());
    m.grid.currentRow = 3;                    // E:
    EXPECT_EQ(ExpandRow(m, 2, true, {}), 2);  // A with everything below it
    EXPECT_EQ(m.grid.currentRow, 5);
    EXPECT_TRUE(consistent());
    EXPECT_EQ(CollapseRow(m, 1), 3);
    EXPECT_EQ(m.grid.currentRow, 2);
    EXPECT_TRUE(consistent());
}

}  // namespace
}  // namespace catalog
