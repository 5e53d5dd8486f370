#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "catalog/commands/backup_commands.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/rows/row_record.h"
#include "catalog/window/list_form.h"
#include "program_folder_fixture.h"
#include "store/definition_file.h"
#include "support/fault_injector.h"
#include "support/recording_messages.h"
#include "support/shown_windows.h"
#include "support/temp_drives.h"
#include "widgets/preset_answers.h"

#include <cerrno>

namespace catalog {
namespace {

using testing::ProgramFolder;

QAction* Item(ListForm& form, const char* name) {
    return form.findChild<QAction*>(QString::fromUtf8(name));
}

void ChooseDrive(ListForm& form, QChar letter) {
    form.DriveBox()->setCurrentIndex(form.DriveBox()->findData(letter));
}

TEST(CatalogWindow, ControlsAndMenusCarryTheirNamesAndCaptions) {
    ProgramFolder folder;
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    EXPECT_EQ(form.windowTitle(), u"キバコ Ver1.7B");
    for (const char* name : {"ZemBTN", "DRVBOX", "DIRGRD", "ITMBAR", "SCRDIR", "FILGRD", "ITFBAR",
                             "SCRFIL", "CONSOL", "DIRDSP"}) {
        EXPECT_NE(form.findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
    }
    auto* opt1 = form.findChild<QRadioButton*>(QStringLiteral("表示OPT1"));
    ASSERT_NE(opt1, nullptr);
    EXPECT_EQ(opt1->text(), u"保存設定表示");
    EXPECT_EQ(opt1->toolTip(), u"バックアップ定義を、元フォルダー基準で表示します");
    EXPECT_TRUE(opt1->isChecked());
    EXPECT_EQ(Item(form, "M_ファイル_開始")->text(), u"バックアップ開始 <全>   (&B)");
    EXPECT_EQ(Item(form, "M_表示_行間3")->text(), u"4ドット (&4)");
    EXPECT_EQ(Item(form, "M_表示_ALPHA")->menu()->actions().size(), 4);
    const QList<QAction*> menus = form.menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[4]->text(), u"Tetoruｵﾌﾟｼｮﾝ(&O)");
    const QList<QAction*> file = menus[0]->menu()->actions();
    // The described items first; restore and check come after them.
    ASSERT_EQ(file.size(), 11);
    EXPECT_TRUE(file[2]->isSeparator() && file[4]->isSeparator() && file[6]->isSeparator());
    EXPECT_EQ(file[5]->objectName(), u"M_ファイル_終了");
    EXPECT_EQ(file[7]->text(), u"バックアップから復元 (&R)");
    EXPECT_EQ(file[8]->text(), u"バックアップの照合 (&V)");
    EXPECT_EQ(file[9]->text(), u"以前の版 (&P)...");
    EXPECT_EQ(file[10]->text(), u"日時を指定して復元 (&T)...");
    // The drive table's drives, none chosen yet.
    EXPECT_EQ(form.DriveBox()->currentIndex(), -1);
    EXPECT_GE(form.DriveBox()->findData(QChar(u'R')), 0);
    // Designed defaults: ruled lines, name case and spacing.
    EXPECT_TRUE(Item(form, "M_表示_縦罫D")->isChecked());
    EXPECT_FALSE(Item(form, "M_表示_横罫D")->isChecked());
    EXPECT_TRUE(Item(form, "M_表示_文字3")->isChecked());
    EXPECT_TRUE(Item(form, "M_表示_行間0")->isChecked());
    form.close();
}

TEST(CatalogWindow, FirstStartWithoutFilesWritesNoDefinitionFile) {
    ProgramFolder folder(false);
    {
        ListForm form;
        ASSERT_TRUE(form.Load({}));
        EXPECT_EQ(form.RegistrationRows().grid.rowCount, 0);
        EXPECT_FALSE(Item(form, "M_設定_更新0")->isChecked());
        EXPECT_TRUE(Item(form, "M_設定_更新1")->isChecked());
        EXPECT_FALSE(Item(form, "M_設定_電源")->isChecked());
        EXPECT_FALSE(Item(form, "MD_展開")->isChecked());
        form.close();
    }
    EXPECT_FALSE(folder.Exists(QStringLiteral("Kibako.Def")));
    const QByteArray ini = folder.ReadFile(QStringLiteral("Kibako.INI"));
    EXPECT_TRUE(ini.contains("NewFileOnly=-1"));
    EXPECT_TRUE(ini.contains("FolderPercent= 60"));
    EXPECT_TRUE(ini.contains("DirColWidth0= 300"));
    EXPECT_LT(ini.indexOf("SkipRemovable"), ini.indexOf("WindowX"));
    EXPECT_LT(ini.indexOf("HEIGHT"), ini.indexOf("FileColWidth2"));
    // The three folder widths are stored first, then the three file widths.
    const QList<QByteArray> widths = {"DirColWidth0=",  "DirColWidth1=",  "DirColWidth2=",
                                      "FileColWidth0=", "FileColWidth1=", "FileColWidth2="};
    for (qsizetype i = 0; i + 1 < widths.size(); ++i) {
        EXPECT_GE(ini.indexOf(widths[i]), 0) << widths[i].constData();
        EXPECT_LT(ini.indexOf(widths[i]), ini.indexOf(widths[i + 1])) << widths[i].constData();
    }
    EXPECT_EQ(folder.ReadFile(QStringLiteral("CATDRV.DAT")),
              QByteArray(26, '\n').replace("\n", "\r\n"));
}

TEST(CatalogWindow, DefinitionsThatCannotBeSavedKeepTheWindowOpen) {
    ProgramFolder folder;
    const QByteArray before = testing::DefinitionFile(
        testing::EntryText(QStringLiteral("C:\\A"), QStringLiteral("D:\\A"), QString(16, u' ')));
    folder.WriteFile(QStringLiteral("Kibako.Def"), before);
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    form.show();
    form.Definitions().SetLastBackup(
        QStringLiteral("C:\\A"), store::BackupTime::FromText(QStringLiteral("2030/01/02 03:04")));
    {
        testing_support::FaultInjector faults;
        faults.Fail(platform::sys::Call::Write, QStringLiteral("*/Kibako.Def"), ENOSPC);
        testing_support::RecordingMessages messages;  // in place of the window's message box
        EXPECT_FALSE(form.close());
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(folder.ReadFile(QStringLiteral("Kibako.Def")), before);
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts.front().contains(QStringLiteral("Kibako.Def")));
    }
    // Room again: the next close saves and closes.
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(folder.ReadFile(QStringLiteral("Kibako.Def")).contains("2030/01/02 03:04"));
}

// Settings and the catalog drive file that cannot be written are named in a
// message; the window still closes, and the old files stay as they were.
TEST(CatalogWindow, SettingsThatCannotBeSavedAreReported) {
    ProgramFolder folder;
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    form.show();
    const QByteArray settingsBefore = folder.ReadFile(QStringLiteral("Kibako.INI"));
    testing_support::FaultInjector faults;
    faults.Fail(platform::sys::Call::Write, QStringLiteral("*/Kibako.INI"), ENOSPC);
    faults.Fail(platform::sys::Call::Write, QStringLiteral("*/CATDRV.DAT"), ENOSPC);
    testing_support::RecordingMessages messages;
    EXPECT_TRUE(form.close());
    EXPECT_EQ(folder.ReadFile(QStringLiteral("Kibako.INI")), settingsBefore);
    ASSERT_EQ(messages.texts.size(), 2) << messages.texts.join(u'|').toStdString();
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("Kibako.INI")));
    EXPECT_TRUE(messages.texts[1].contains(QStringLiteral("CATDRV.DAT")));
}

TEST(CatalogWindow, ChangedRegistrationIsSavedWithoutAskingAndWorkFilesKept) {
    ProgramFolder folder;
    folder.WriteFile(QStringLiteral("Kibako.Def"),
                     testing::DefinitionFile(testing::EntryText(
                         QStringLiteral("C:\\A"), QStringLiteral("D:\\A"), QString(16, u' '))));
    folder.WriteFile(QStringLiteral("CATDRV.DAT"), "first\r\n\"with,comma\"\r\n");
    folder.MakeFolder(QStringLiteral("TempFile/inner"));
    folder.WriteFile(QStringLiteral("TempFile/inner/x.tmp"), "x");
    {
        ListForm form;
        ASSERT_TRUE(form.Load({}));
        EXPECT_EQ(form.RegistrationRows().grid.rowCount, 2);  // header and C:, collapsed
        form.Definitions().SetLastBackup(
            QStringLiteral("C:\\A"),
            store::BackupTime::FromText(QStringLiteral("2030/01/02 03:04")));
        form.close();
    }
    EXPECT_TRUE(folder.ReadFile(QStringLiteral("Kibako.Def")).contains("2030/01/02 03:04"));
    EXPECT_EQ(widgets::presets::TakeAnsweredMessages().size(), 0u);
    // A value read in quotes goes back in them, so the next start reads it whole.
    QByteArray expected = "first\r\n\"with,comma\"\r\n";
    for (int i = 2; i < 26; ++i) expected += "\r\n";
    EXPECT_EQ(folder.ReadFile(QStringLiteral("CATDRV.DAT")), expected);
    EXPECT_FALSE(folder.Exists(QStringLiteral("TempFile")));
}

TEST(CatalogWindow, RunOptionTogglesFollowTheirCheckMarks) {
    ProgramFolder folder;
    {
        ListForm form;
        ASSERT_TRUE(form.Load({}));
        QAction* all = Item(form, "M_設定_更新0");
        QAction* updated = Item(form, "M_設定_更新1");
        updated->trigger();  // the checked item switches to the other one
        EXPECT_EQ(form.Options().newFileOnly, 0);
        EXPECT_TRUE(all->isChecked());
        EXPECT_FALSE(updated->isChecked());
        all->trigger();
        EXPECT_EQ(form.Options().newFileOnly, -1);
        EXPECT_FALSE(all->isChecked());
        EXPECT_TRUE(updated->isChecked());
        all->trigger();
        Item(form, "M_設定_電源")->trigger();
        Item(form, "M_設定_未装着")->trigger();
        EXPECT_TRUE(Item(form, "M_設定_電源")->isChecked());
        EXPECT_TRUE(Item(form, "M_設定_未装着")->isChecked());
        // Nothing is written before the window closes.
        EXPECT_FALSE(folder.ReadFile(QStringLiteral("Kibako.INI")).contains("AutoPowerOff"));
        form.close();
    }
    const QByteArray ini = folder.ReadFile(QStringLiteral("Kibako.INI"));
    EXPECT_TRUE(ini.contains("NewFileOnly= 0"));
    EXPECT_TRUE(ini.contains("AutoPowerOff=-1"));
    EXPECT_TRUE(ini.contains("SkipRemovable=-1"));
}

TEST(CatalogWindow, BackupCommandsReportInTheSystemsBox) {
    ProgramFolder folder;
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    widgets::presets::SetNextAnswer(util::Answer::Ok);
    form.findChild<QPushButton*>(QStringLiteral("ZemBTN"))->click();
    widgets::presets::SetNextAnswer(util::Answer::Ok);
    Item(form, "M_ファイル_開始")->trigger();
    const auto answered = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(answered.size(), 2u);
    EXPECT_EQ(answered[0].message.text, u"更新されたフォルダーはありませんでした");
    EXPECT_EQ(answered[1].message.text, u"バックアップが完了しました");
    form.close();
}

TEST(CatalogWindow, DriveViewKeepsItsDriveWhenACdRomIsChosen) {
    ProgramFolder folder;
    QDir().mkpath(folder.Drive(u'C') + QStringLiteral("/Data/Sub"));
    QDir().mkpath(folder.Drive(u'C') + QStringLiteral("/RECYCLED"));
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    testing_support::RecordingMessages messages;
    ChooseDrive(form, u'C');
    EXPECT_EQ(form.CurrentView(), kDriveView);
    EXPECT_TRUE(form.findChild<QRadioButton*>(QStringLiteral("表示OPT0"))->isChecked());
    EXPECT_EQ(form.FolderGrid()->State(), &form.DriveRows().grid);
    const int rows = form.DriveRows().grid.rowCount;
    EXPECT_EQ(rows, 2);  // C: and Data (RECYCLED left out); Data\Sub is level 3
    ChooseDrive(form, u'R');
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_EQ(messages.texts[0], kNotHardDiskText);
    EXPECT_EQ(form.ScannedDrive(), u'C');
    EXPECT_EQ(form.DriveRows().grid.rowCount, rows);
    // The tree area of Data opens it.
    form.ToggleRow(1, false);
    EXPECT_EQ(form.DriveRows().grid.rowCount, 3);
    EXPECT_EQ(form.RowPath(2), u"C:\\Data\\Sub");
    form.ChgDate(QStringLiteral("c:\\data\\sub"), QStringLiteral("2031/01/01 00:00"));
    EXPECT_EQ(grid::CellText(form.DriveRows().grid, 2, 2), u"2031/01/01 00:00");
    form.close();
}

TEST(CatalogWindow, SwitchingViewsSetsTheTitlesAndRebuildsTheDriveView) {
    ProgramFolder folder;
    QDir().mkpath(folder.Drive(u'C') + QStringLiteral("/A"));
    folder.WriteFile(QStringLiteral("Kibako.Def"),
                     testing::DefinitionFile(
                         testing::EntryText(QStringLiteral("C:\\A"), QStringLiteral("D:\\A.ZIP"),
                                            QString(16, u' '), QStringLiteral("20000000"))));
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    form.SwitchView(kDestinationView);
    EXPECT_EQ(form.RegistrationRows().grid.rowCount, 2);  // header and D:
    ChooseDrive(form, u'C');
    const auto row = form.FindRow(QStringLiteral("C:\\A"));
    ASSERT_TRUE(row);
    EXPECT_EQ(form.DriveRows().list.Cell(row->fullRow, 1), u"D:\\A.ZIP");
    form.SwitchView(kSettingsView);
    form.Definitions().RemoveEntry(QStringLiteral("C:\\A"), false);
    form.MarkDriveRebuild();
    form.SwitchView(kDriveView);
    const auto again = form.FindRow(QStringLiteral("C:\\A"));
    ASSERT_TRUE(again);
    EXPECT_EQ(form.DriveRows().list.Cell(again->fullRow, 1), u"");
    form.close();
}

// --- a run in the window ---------------------------------------------

using testing_support::Poller;
using testing_support::ShownWindow;

// Once armed, answers every older-file question with No, in whichever run
// it comes.
class AnswerNo {
  public:
    AnswerNo() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (!armed) return;
            if (QWidget* question = ShownWindow("OverwriteForm"))
                question->findChild<QPushButton*>(QStringLiteral("NOBTN"))->click();
        });
        timer_.start(0);
    }
    bool armed = false;

  private:
    QTimer timer_;
};

// Entries C:\X -> D:\X for each letter; `older` holds a file older than its
// backup, so that the run waits at the older-file question there.
void WriteRun(const ProgramFolder& folder, const QString& folders, QChar older) {
    QString body;
    for (const QChar name : folders) {
        const QString source = folder.Drive(u'C') + u'/' + name;
        QDir().mkpath(source);
        QDir().mkpath(folder.Drive(u'D') + u'/' + name);
        QFile file(source + QStringLiteral("/file.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("source");
        file.close();
        body += testing::EntryText(QStringLiteral("C:\\") + name, QStringLiteral("D:\\") + name,
                                   QString(16, u' '));
    }
    QFile backup(folder.Drive(u'D') + u'/' + older + QStringLiteral("/file.txt"));
    ASSERT_TRUE(backup.open(QIODevice::WriteOnly));
    backup.write("newer backup");
    backup.close();
    testing_support::SetModifiedTime(
        folder.Drive(u'C') + u'/' + older + QStringLiteral("/file.txt"), 1'600'000'000);
    testing_support::SetModifiedTime(backup.fileName(), 1'700'000'000);
    folder.WriteFile(QStringLiteral("Kibako.Def"), testing::DefinitionFile(body));
}

TEST(CatalogWindow, CommandsAreRefusedWhileARunGoesOn) {
    ProgramFolder folder;
    WriteRun(folder, QStringLiteral("AB"), u'A');
    ListForm form;
    ASSERT_TRUE(form.Load({}));
    auto* updateButton = form.findChild<QPushButton*>(QStringLiteral("ZemBTN"));
    for (int i = 0; i < 3; ++i) widgets::presets::SetNextAnswer(util::Answer::Ok);
    bool zemEnabled = true;
    bool menusEnabled = true;
    bool runningSeen = false;
    AnswerNo answerNo;
    Poller poller([&] {
        if (ShownWindow("OverwriteForm") == nullptr) return false;
        zemEnabled = updateButton->isEnabled();
        menusEnabled = form.menuBar()->isEnabled();
        runningSeen = form.Running();
        // A second run started here would be answered and end too.
        answerNo.armed = true;
        QTest::mouseClick(updateButton, Qt::LeftButton);
        Item(form, "M_ファイル_開始")->trigger();
        return true;
    });
    Item(form, "M_ファイル_更新")->trigger();
    EXPECT_TRUE(runningSeen);
    EXPECT_FALSE(zemEnabled);
    EXPECT_FALSE(menusEnabled);
    // One run, one report; the window takes commands again.
    const auto answered = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].message.text, UpdatedSummary(2));
    EXPECT_TRUE(updateButton->isEnabled());
    EXPECT_TRUE(form.menuBar()->isEnabled());
    EXPECT_FALSE(form.Running());
    widgets::presets::ClearPresets();
    form.close();
}

TEST(CatalogWindow, ClosingDuringARunSavesAfterTheRunHasEnded) {
    ProgramFolder folder;
    WriteRun(folder, QStringLiteral("ABC"), u'B');
    const QByteArray before = folder.ReadFile(QStringLiteral("Kibako.Def"));
    {
        ListForm form;
        ASSERT_TRUE(form.Load({}));
        widgets::presets::SetNextAnswer(util::Answer::Ok);
        bool savedAtClose = true;
        bool openAtClose = false;
        Poller poller([&] {
            QWidget* question = ShownWindow("OverwriteForm");
            if (question == nullptr) return false;
            form.close();
            savedAtClose = folder.ReadFile(QStringLiteral("Kibako.Def")) != before;
            openAtClose = form.isVisible();
            question->findChild<QPushButton*>(QStringLiteral("YESBTN"))->click();
            return true;
        });
        Item(form, "M_ファイル_開始")->trigger();
        EXPECT_FALSE(savedAtClose);
        EXPECT_TRUE(openAtClose);
        // The run stopped after the file in work: C was never begun, and no
        // completion was reported to a window that is gone.
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(QFile::exists(folder.Drive(u'D') + QStringLiteral("/C/file.txt")));
        EXPECT_TRUE(widgets::presets::TakeAnsweredMessages().empty());
        widgets::presets::ClearPresets();
    }
    // A's time, written by the run, reached the file.
    const store::DefinitionList saved(
        store::ParseDefinitionBytes(folder.ReadFile(QStringLiteral("Kibako.Def"))).body);
    const auto entries = saved.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_NE(entries[0].lastBackup.Text(), QString(16, u' '));
    EXPECT_EQ(entries[2].lastBackup.Text(), QString(16, u' '));
    EXPECT_TRUE(folder.ReadFile(QStringLiteral("Kibako.INI")).contains("WindowX"));
}

}  // namespace
}  // namespace catalog
