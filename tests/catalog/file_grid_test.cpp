// The file grid of the catalog window: which path each view lists, when the
// list is read again, the folder label and the count line.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <string>

#include "archiver/archiver.h"
#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/window/list_form.h"
#include "program_folder_fixture.h"
#include "support/text.h"

namespace catalog {
namespace {

using testing::ProgramFolder;

using testing_support::S;

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList ListedNames(ListForm& form) {
    QStringList names;
    for (int r = 0; r < form.FileRows().rowCount; ++r)
        names << grid::CellText(form.FileRows(), 0, r);
    return names;
}

void Press(ListForm& form, Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(form.FolderGrid(), key);
}

class FileGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Write(folder.Drive(u'C') + S("/Data/notes.txt"), "note one\n");
        Write(folder.Drive(u'C') + S("/Data/photo.jpg"), QByteArray(5000, 'j'));
        Write(folder.Drive(u'C') + S("/Data/empty.txt"), "");
        Write(folder.Drive(u'C') + S("/Other/only.bat"), "@echo off\r\n");
    }

    ProgramFolder folder;
};

TEST_F(FileGridTest, DriveViewListsTheCurrentFolderOnlyWhenThePathChanges) {
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    form.DriveBox()->setCurrentIndex(form.DriveBox()->findData(QChar(u'C')));
    ASSERT_EQ(form.CurrentView(), kDriveView);
    EXPECT_EQ(form.ListedFolder(), S("C:"));  // the drive row, listed when the view is shown
    EXPECT_EQ(form.FileRows().rowCount, 0);
    EXPECT_EQ(form.StatusLine()->text(), S(" 0個のファイル  ( 0 bytes)"));

    Press(form, Qt::Key_Down);  // C:\Data
    EXPECT_EQ(form.ListedFolder(), S("C:\\Data"));
    EXPECT_EQ(form.FolderLabel()->text(), S("C:\\Data "));
    EXPECT_EQ(ListedNames(form), QStringList({S("photo.jpg"), S("notes.txt")}));
    EXPECT_EQ(grid::CellText(form.FileRows(), 2, 0), S("5,000"));
    EXPECT_EQ(grid::IconCode(form.FileRows(), 0), 18);
    EXPECT_EQ(grid::RowIndent(form.FileRows(), 1), 4);
    EXPECT_EQ(form.StatusLine()->text(), S(" 2個のファイル  ( 5,009 bytes)"));

    // Another column of the same row is the same folder: nothing is read.
    Write(folder.Drive(u'C') + S("/Data/added.txt"), "added");
    Press(form, Qt::Key_Right);
    EXPECT_EQ(form.FolderGrid()->State()->currentColumn, 1);
    EXPECT_EQ(form.FileRows().rowCount, 2);
    // Away and back: read again.
    Press(form, Qt::Key_Down);
    EXPECT_EQ(form.ListedFolder(), S("C:\\Other"));
    EXPECT_EQ(ListedNames(form), QStringList({S("only.bat")}));
    EXPECT_EQ(grid::IconCode(form.FileRows(), 0), 28);
    Press(form, Qt::Key_Up);
    EXPECT_EQ(ListedNames(form), QStringList({S("photo.jpg"), S("added.txt"), S("notes.txt")}));

    // With the file grid active the count line stays empty.
    form.SetActiveGrid(grid::kFileGridActive);
    Press(form, Qt::Key_Down);
    EXPECT_EQ(form.FolderLabel()->text(), S("C:\\Other "));
    EXPECT_EQ(form.StatusLine()->text(), S(""));
    form.close();
}

TEST_F(FileGridTest, DestinationViewListsTheArchiveInTheFirstColumnAndTheSourceElsewhere) {
    folder.WriteFile(S("Kibako.INI"),
                     folder.ReadFile(S("Kibako.INI")) + "[Options]\r\nExpandFirst=-1\r\n");
    folder.WriteFile(
        S("Kibako.Def"),
        testing::DefinitionFile(testing::EntryText(S("C:\\Data"), S("D:\\Backup\\Data.LZH"),
                                                   QString(16, u' '), S("20000000")) +
                                testing::EntryText(S("C:\\Other"), S("D:\\Backup\\Other"),
                                                   QString(16, u' '), S("10000000"))));
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    Write(folder.Drive(u'D') + S("/Backup/Other/copy.txt"), "copy");
    std::string output;
    ASSERT_EQ(archiver::Unlha("u \"D:\\Backup\\Data.LZH\" \"C:\\Data\\\"", output), 0) << output;

    form.SwitchView(kDestinationView);
    const auto archiveRow = form.FindRow(S("D:\\Backup\\Data.LZH"));
    ASSERT_TRUE(archiveRow);
    ASSERT_GT(archiveRow->shownRow, 0);
    EXPECT_EQ(grid::IconCode(form.RegistrationRows().grid, archiveRow->shownRow), 29);
    Press(form, Qt::Key_Down, archiveRow->shownRow);
    // The row's exact path, as registered.
    EXPECT_EQ(form.ListedFolder(), S("D:\\Backup\\Data.LZH"));
    EXPECT_EQ(form.FolderLabel()->text(), S("D:\\Backup\\Data.LZH "));
    // The archive's empty member is listed too.
    EXPECT_EQ(ListedNames(form), QStringList({S("photo.jpg"), S("empty.txt"), S("notes.txt")}));
    // The listing's date: "yy/mm/dd hh:mm".
    EXPECT_EQ(grid::CellText(form.FileRows(), 1, 0).size(), 14);
    EXPECT_EQ(form.StatusLine()->text(), S(" 3個のファイル  ( 5,009 bytes)"));

    // Outside the first column the row stands for its source folder.
    Write(folder.Drive(u'C') + S("/Data/later.txt"), "later");
    Press(form, Qt::Key_Right);
    EXPECT_EQ(form.ListedFolder(), S("C:\\Data"));
    EXPECT_EQ(ListedNames(form), QStringList({S("photo.jpg"), S("later.txt"), S("notes.txt")}));
    Press(form, Qt::Key_Right);  // the third column: still the source, not read again
    EXPECT_EQ(form.FileRows().rowCount, 3);
    Press(form, Qt::Key_Down);  // the plain-copy registration's source
    EXPECT_EQ(form.ListedFolder(), S("C:\\Other"));
    Press(form, Qt::Key_Left, 2);  // its destination folder
    EXPECT_EQ(form.ListedFolder(), S("D:\\Backup\\Other"));
    EXPECT_EQ(ListedNames(form), QStringList({S("copy.txt")}));

    // A view switch lists the new view's current row.
    form.SwitchView(kSettingsView);
    EXPECT_EQ(form.ListedFolder(), form.RowPath(0));
    form.close();
}

}  // namespace
}  // namespace catalog
