#include <gtest/gtest.h>

#include "catalog/commands/backup_commands.h"
#include "catalog/model/catalog_drive_file.h"
#include "catalog/model/run_options.h"
#include "support/shift_jis_folder.h"

namespace catalog {
namespace {

TEST(CatalogDriveFile, ValuesComeBackAsTheyWereRead) {
    const QByteArray bytes = "one\r\n\"a,b\"\r\nx,y\r\n\r\n\x93\xfa\x96\x7b\r\n";
    const CatalogDriveTable table = ParseCatalogDrives(bytes);
    EXPECT_EQ(table[0], "one");
    EXPECT_EQ(table[1], "a,b");
    EXPECT_EQ(table[2], "x");
    EXPECT_EQ(table[3], "y");
    EXPECT_EQ(table[4], "");
    EXPECT_EQ(table[5], "\x93\xfa\x96\x7b");
    EXPECT_EQ(table[25], "");
    const QByteArray written = CatalogDriveBytes(table);
    EXPECT_TRUE(written.startsWith("one\r\n\"a,b\"\r\nx\r\ny\r\n\r\n\x93\xfa\x96\x7b\r\n"));
    EXPECT_EQ(written.count("\r\n"), 26);
    EXPECT_EQ(CatalogDriveBytes(CatalogDriveTable{}),
              QByteArray(26 * 2, 0).replace(QByteArray(2, 0), "\r\n"));
}

// In a program folder whose name is Shift_JIS bytes, the file is written and read back under
// exactly those bytes.
TEST(CatalogDriveFile, IsReadBackFromAFolderWhoseNameIsNotUtf8) {
    const testing_support::ShiftJisFolder folder;
    ASSERT_TRUE(folder.Made());
    const platform::HostPath file = folder.Host("KIBAKO.DRV");
    CatalogDriveTable table;
    table[0] = "\x93\xfa\x96\x7b";
    table[3] = "a,b";
    ASSERT_TRUE(WriteCatalogDriveFile(file, table));
    EXPECT_EQ(ReadCatalogDriveFile(file), table);
}

TEST(CatalogDriveFile, QuotedValuesSurviveEveryRoundTrip) {
    const QByteArray bytes = "\"a,b\",c\r\n\"  lead\"\r\n\"two\r\nlines\"\r\nplain\"mid\r\n";
    const CatalogDriveTable first = ParseCatalogDrives(bytes);
    EXPECT_EQ(first[0], "a,b");
    EXPECT_EQ(first[1], "c");
    EXPECT_EQ(first[2], "  lead");
    EXPECT_EQ(first[3], "two\r\nlines");
    EXPECT_EQ(first[4], "plain\"mid");
    // Written and read again twice: every value keeps its place and bytes.
    const CatalogDriveTable second = ParseCatalogDrives(CatalogDriveBytes(first));
    EXPECT_EQ(second, first);
    EXPECT_EQ(CatalogDriveBytes(second), CatalogDriveBytes(first));
}

TEST(RunOptions, ComplementAndCheckMarks) {
    EXPECT_EQ(Complement(-1), 0);
    EXPECT_EQ(Complement(0), -1);
    EXPECT_FALSE(AllFoldersChecked(-1));
    EXPECT_TRUE(UpdatedOnlyChecked(-1));
    EXPECT_TRUE(AllFoldersChecked(0));
    EXPECT_FALSE(UpdatedOnlyChecked(0));
    // A hand-edited value checks both items.
    EXPECT_TRUE(AllFoldersChecked(1) && UpdatedOnlyChecked(1));
}

TEST(BackupSummary, CountIsEmphasised) {
    EXPECT_EQ(UpdatedSummary(0), kNothingUpdatedText);
    EXPECT_EQ(UpdatedSummary(12), QChar(8) + QStringLiteral("12個") + QChar(7) +
                                      QStringLiteral("のフォルダーを") + QChar(1) +
                                      QStringLiteral("更新しました") + QChar(0));
}

}  // namespace
}  // namespace catalog
