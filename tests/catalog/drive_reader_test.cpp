#include <gtest/gtest.h>

#include <QDir>

#include "platform/ascii_fold.h"

#include "catalog/rows/drive_reader.h"
#include "catalog/rows/folder_model.h"
#include "catalog/rows/row_lookup.h"
#include "catalog/rows/row_record.h"
#include "platform/host_path.h"
#include "store/definition_list.h"
#include "support/temp_drives.h"

namespace catalog {
namespace {

class DriveScan : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* folder :
             {"C:\\Docs\\MixedCase\\Deep\\Deeper\\Deepest", "C:\\Docs\\Other", "C:\\RECYCLED\\X",
              "C:\\recycled", "C:\\.hidden", "C:\\}temp", "C:\\Archive\\Inside\\More\\Four\\Five",
              "C:\\My Documents\\Letters", "C:\\Docs\\.kibako-history\\2026-01-01_000000"}) {
            drives.MakeFolder(QString::fromUtf8(folder));
        }
        drives.WriteFile(QStringLiteral("C:\\Docs\\file.txt"), "not a folder");
        store::BackupEntry whole;
        whole.sourceFolder = QStringLiteral("C:\\Archive");
        whole.destination = QStringLiteral("D:\\Arc.LZH");
        whole.lastBackup = store::BackupTime::FromText(QStringLiteral("2024/02/03 04:05"));
        whole.subFolders = store::SubFolders::InOneArchive;
        list.PutEntry(whole);
        store::BackupEntry plain;
        plain.sourceFolder = QStringLiteral("C:\\Docs\\Other");
        plain.destination = QStringLiteral("D:\\Other");
        plain.lastBackup = store::BackupTime();
        list.PutEntry(plain);
    }

    int RowOf(const QString& key) const {
        for (int r = 0; r < m.list.Count(); ++r) {
            if (platform::SameName(m.list.Cell(r, kKeyColumn), key)) return r;
        }
        return -1;
    }

    testing_support::TempDrives drives;
    store::DefinitionList list;
    FolderModel m{true};
};

TEST_F(DriveScan, ReadsThreeLevelsAndLeavesOutHiddenAndRecycledFolders) {
    DriveReader reader(list.Entries());
    m.list = reader.ScanDrive(u'C');
    ASSERT_GT(m.list.Count(), 0);
    EXPECT_EQ(m.list.Cell(0, 0), u"C:");
    EXPECT_EQ(m.list.Icon(0), kIconDrive);
    EXPECT_EQ(m.list.Level(0), 1);
    EXPECT_EQ(RowOf(QStringLiteral("C:\\RECYCLED")), -1);
    EXPECT_EQ(RowOf(QStringLiteral("C:\\.HIDDEN")), -1);
    // A backup's history is hidden with the rest.
    EXPECT_EQ(RowOf(QStringLiteral("C:\\DOCS\\.KIBAKO-HISTORY")), -1);
    EXPECT_EQ(RowOf(QStringLiteral("C:\\}TEMP")), -1);
    EXPECT_EQ(RowOf(QStringLiteral("C:\\DOCS\\FILE.TXT")), -1);
    EXPECT_EQ(m.list.Icon(RowOf(QStringLiteral("C:\\MY DOCUMENTS"))), kIconMyDocuments);
    // Levels 1 to 3 are read; level-4 folders are listed unread.
    const int deep = RowOf(QStringLiteral("C:\\DOCS\\MIXEDCASE\\DEEP"));
    ASSERT_GE(deep, 0);
    EXPECT_EQ(m.list.Level(deep), 4);
    EXPECT_TRUE(m.list.Unread(deep));
    EXPECT_FALSE(m.list.Unread(RowOf(QStringLiteral("C:\\DOCS\\MIXEDCASE"))));
    EXPECT_EQ(RowOf(QStringLiteral("C:\\DOCS\\MIXEDCASE\\DEEP\\DEEPER")), -1);
}

TEST_F(DriveScan, FoldersBelowAWholeTreeRegistrationShowItsDestination) {
    DriveReader reader(list.Entries());
    m.list = reader.ScanDrive(u'C');
    const int archive = RowOf(QStringLiteral("C:\\ARCHIVE"));
    EXPECT_EQ(m.list.Cell(archive, 1), u"D:\\Arc.LZH");
    EXPECT_EQ(m.list.Cell(archive, 2), u"2024/02/03 04:05");
    const int inside = RowOf(QStringLiteral("C:\\ARCHIVE\\INSIDE"));
    EXPECT_EQ(m.list.Cell(inside, 1), u"D:\\Arc.LZH");
    EXPECT_EQ(m.list.Cell(inside, 2), u"");
    EXPECT_EQ(m.list.Cell(inside, 3), u"20000000");
    const int four = RowOf(QStringLiteral("C:\\ARCHIVE\\INSIDE\\MORE"));
    EXPECT_EQ(m.list.Cell(four, 1), u"D:\\Arc.LZH");
    // A plain registration covers only itself.
    EXPECT_EQ(m.list.Cell(RowOf(QStringLiteral("C:\\DOCS\\OTHER")), 1), u"D:\\Other");
    EXPECT_EQ(m.list.Cell(RowOf(QStringLiteral("C:\\DOCS")), 1), u"");
    EXPECT_EQ(m.list.Cell(RowOf(QStringLiteral("C:\\DOCS")), 3), kNoFlags);
}

// A hand-edited entry shows what the file holds: its odd time and flag
// characters as they stand; "2" first still covers the folders below.
TEST_F(DriveScan, AHandEditedEntryShowsItsFieldsAsStored) {
    const store::DefinitionList edited(QStringLiteral("\x08"
                                                      "C:\\Docs\x02"
                                                      "D:\\Docs.ZIP\x03"
                                                      "2024/13/01 x\x04"
                                                      "2b?zzzzz\x05\x06") +
                                       QChar(0));
    DriveReader reader(edited.Entries());
    m.list = reader.ScanDrive(u'C');
    const int docs = RowOf(QStringLiteral("C:\\DOCS"));
    ASSERT_GE(docs, 0);
    EXPECT_EQ(m.list.Cell(docs, 1), u"D:\\Docs.ZIP");
    EXPECT_EQ(m.list.Cell(docs, 2), u"2024/13/01 x");
    EXPECT_EQ(m.list.Cell(docs, 3), u"2b?zzzzz");
    const int other = RowOf(QStringLiteral("C:\\DOCS\\OTHER"));
    EXPECT_EQ(m.list.Cell(other, 1), u"D:\\Docs.ZIP");
    EXPECT_EQ(m.list.Cell(other, 3), u"2b?zzzzz");
}

TEST_F(DriveScan, ExpandingAnUnreadFolderReadsItAndKeepsTheRowMap) {
    DriveReader reader(list.Entries());
    m.list = reader.ScanDrive(u'C');
    for (int r = 0; r < m.list.Count(); ++r) m.rowMap.push_back(r);
    ShowMappedRows(m);
    const FolderReader read = [&reader](const FolderModel& model, int fullRow) {
        return reader.ReadChildren(StoredPath(model, fullRow), model.list.Level(fullRow));
    };
    const int more = RowOf(QStringLiteral("C:\\ARCHIVE\\INSIDE\\MORE"));
    const int shown = ShownIndexOf(m, more);
    ASSERT_GE(shown, 0);
    // An unread folder offers its expand box before it is read.
    EXPECT_TRUE(grid::TreeFlags(m.grid, shown) & grid::kTreeHasChildren);
    EXPECT_EQ(ExpandRow(m, shown, false, read), 1);
    EXPECT_FALSE(m.list.Unread(more));
    const int four = RowOf(QStringLiteral("C:\\ARCHIVE\\INSIDE\\MORE\\FOUR"));
    ASSERT_EQ(four, more + 1);
    EXPECT_EQ(m.list.Level(four), 5);
    EXPECT_TRUE(m.list.Unread(four));
    EXPECT_EQ(m.list.Cell(four, 1), u"D:\\Arc.LZH");
    for (int r = 0; r < m.grid.rowCount; ++r)
        EXPECT_EQ(grid::CellText(m.grid, 4, r), m.list.Cell(m.rowMap[size_t(r)], 4));
    EXPECT_EQ(CollapseRow(m, shown), 1);
    EXPECT_EQ(m.grid.rowCount, m.list.Count() - 1);
}

// Linux allows names Windows does not: case twins, blanks at the ends and
// control characters. Each row reaches exactly its own folder, and a control
// character shows as "?" as in the file grid.
TEST_F(DriveScan, EveryRowPathReachesTheFolderItShowsEvenForTwinsAndOddNames) {
    const QString c = drives.Root() + QStringLiteral("/c");
    const QString control = QStringLiteral("ctl") + QChar(2) + QStringLiteral("dir");
    for (const QString& name : {QStringLiteral("Photos"), QStringLiteral("photos"),
                                QStringLiteral(" a "), QStringLiteral("a"), control}) {
        ASSERT_TRUE(QDir().mkpath(c + QStringLiteral("/Twins/") + name));
    }
    store::BackupEntry photos;
    photos.sourceFolder = QStringLiteral("C:\\Twins\\photos");
    photos.destination = QStringLiteral("D:\\Lower");
    photos.lastBackup = store::BackupTime();
    list.PutEntry(photos);
    DriveReader reader(list.Entries());
    m.list = reader.ScanDrive(u'C');
    for (int r = 0; r < m.list.Count(); ++r) m.rowMap.push_back(r);
    ShowMappedRows(m);
    QStringList reached;
    for (int r = 0; r < m.list.Count(); ++r) {
        const QString path = RowPath(m, ShownIndexOf(m, r));
        if (!path.startsWith(QStringLiteral("C:\\Twins\\"))) continue;
        EXPECT_EQ(platform::ToHostPath(platform::DrivePath(path))->text(),
                  c + QStringLiteral("/Twins/") + path.mid(9));
        EXPECT_EQ(m.list.Cell(r, 0), ShownName(path.mid(9)));
        // Only the exact folder shows the registration, never its twin.
        EXPECT_EQ(m.list.Cell(r, 1), path.endsWith(u"photos") ? u"D:\\Lower" : u"");
        reached.append(path.mid(9));
    }
    reached.sort();
    EXPECT_EQ(reached, QStringList({QStringLiteral(" a "), QStringLiteral("Photos"),
                                    QStringLiteral("a"), control, QStringLiteral("photos")}));
    const auto controlRow = FindRowByKey(m, QStringLiteral("C:\\Twins\\") + control);
    ASSERT_TRUE(controlRow);
    EXPECT_EQ(m.list.Cell(controlRow->fullRow, 0), u"ctl?dir");
    EXPECT_EQ(m.list.Cell(controlRow->fullRow, 1), u"");
    // A path carried over from Windows in other case still finds its row.
    EXPECT_TRUE(FindRowByKey(m, QStringLiteral("c:\\docs\\mixedcase")));
}

}  // namespace
}  // namespace catalog
