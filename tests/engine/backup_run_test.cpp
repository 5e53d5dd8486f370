#include "engine/backup_run.h"
#include "engine_fixture.h"
#include "platform/clock.h"
#include "util/file_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace testing_support;
using engine::EntryOutcome;

namespace {

class BackupRun : public EngineTest {
  protected:
    void SetUp() override {
        drives.Map(u'D', platform::DriveType::Fixed);
        platform::SetClockForTesting(
            [] { return QDateTime(QDate(2026, 12, 7), QTime(12, 34, 56)); });
        for (const char* name : {"a", "b", "c"}) {
            drives.WriteFile(S("C:\\") + S(name) + S("\\f.txt"), name, 1'700'000'000);
            store::BackupEntry entry;
            entry.sourceFolder = S("C:\\") + S(name);
            entry.destination = S("D:\\") + S(name);
            entry.lastBackup = store::BackupTime();
            list.PutEntry(entry);
        }
        list.SetModified(false);
    }
    void TearDown() override { platform::SetClockForTesting({}); }
    QStringList Times() const {
        QStringList times;
        for (const auto& entry : list.Entries()) times.append(entry.lastBackup.Text());
        return times;
    }
    store::DefinitionList list;
};

TEST_F(BackupRun, AllEntriesRunAndGetTheClockTime) {
    EXPECT_EQ(engine::RunBackupAll(engine, list), 3);
    EXPECT_EQ(Times(), QStringList(3, S("2026/12/07 12:34")));
    EXPECT_TRUE(list.Modified());
    EXPECT_EQ(ui.calls.first(), S("progress shown"));
    EXPECT_EQ(ui.calls.last(), S("progress hidden"));
    EXPECT_EQ(engine.FileCounter(), 3);
}

TEST_F(BackupRun, UpdatedRunPassesOverUnchangedFolders) {
    list.SetLastBackup(S("C:\\a"), store::BackupTime::FromText(S("2026/01/01 00:00")));
    list.SetLastBackup(S("C:\\b"), store::BackupTime::FromText(S("2020/01/01 00:00")));
    list.SetModified(false);
    drives.WriteFile(S("C:\\b\\new.txt"), "n",
                     QDateTime(QDate(2021, 1, 1), QTime()).toSecsSinceEpoch());
    EXPECT_EQ(engine::RunBackupUpdated(engine, list), 2);  // b changed, c never backed up
    EXPECT_EQ(ui.reports[0].outcome, EntryOutcome::Unchanged);
    EXPECT_EQ(Times()[0], S("2026/01/01 00:00"));

    // Nothing changed now: nothing is written.
    list.SetModified(false);
    ui.reports.clear();
    EXPECT_EQ(engine::RunBackupUpdated(engine, list), 0);
    EXPECT_FALSE(list.Modified());
}

// The clock says 12:34:56 for the backup; the file is saved again two
// seconds later. The stored time keeps only "12:34", and the edit still
// reaches the backup on the next updated run.
TEST_F(BackupRun, AnEditInTheMinuteOfTheBackupIsCopiedByTheNextUpdatedRun) {
    EXPECT_EQ(engine::RunBackupAll(engine, list), 3);
    ASSERT_EQ(Times()[0], S("2026/12/07 12:34"));
    const qint64 twoSecondsLater =
        QDateTime(QDate(2026, 12, 7), QTime(12, 34, 58)).toSecsSinceEpoch();
    drives.WriteFile(S("C:\\a\\f.txt"), "edited", twoSecondsLater);
    ui.reports.clear();
    EXPECT_EQ(engine::RunBackupUpdated(engine, list), 1);
    EXPECT_EQ(ui.reports[0].outcome, EntryOutcome::BackedUp);
    EXPECT_EQ(ui.reports[0].filesCopied, 1);
    QFile copy(drives.Host(S("D:\\a\\f.txt")));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("edited"));
    // Files older than the stored minute still leave their entries alone.
    EXPECT_EQ(ui.reports[1].outcome, EntryOutcome::Unchanged);
}

// An archive the update leaves as it was (nothing newer) keeps its old time;
// the entry gets the time of the run, not that old time, or every later run
// of the changed folders would update it again. A rewritten archive gets its
// own time.
TEST_F(BackupRun, AnArchiveLeftAsItWasGetsTheTimeOfTheRun) {
    store::BackupEntry entry;
    entry.sourceFolder = S("C:\\a");
    entry.destination = S("D:\\a.LZH");
    list.PutEntry(entry);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 3);
    const QString archive = drives.Host(S("D:\\a.LZH"));
    ASSERT_TRUE(QFile::exists(archive));
    const QDateTime old(QDate(2024, 1, 1), QTime(8, 0));
    SetModifiedTime(archive, old.toSecsSinceEpoch());
    list.SetLastBackup(S("C:\\a"), store::BackupTime::At(old));

    ui.reports.clear();
    engine::RunBackupAll(engine, list);
    EXPECT_EQ(QFileInfo(archive).lastModified(), old);  // nothing newer: not rewritten
    EXPECT_EQ(list.EntryOf(S("C:\\a"))->lastBackup.Text(), S("2026/12/07 12:34"));
}

TEST_F(BackupRun, AbortKeepsTheTimesOfFinishedEntries) {
    ui.onEvents = [this] {
        if (ui.reports.size() == 2) engine.RequestAbort();
    };
    EXPECT_EQ(engine::RunBackupAll(engine, list), 2);
    EXPECT_EQ(Times(),
              QStringList({S("2026/12/07 12:34"), S("2026/12/07 12:34"), QString(16, u' ')}));
    EXPECT_FALSE(util::FolderExists(D("D:\\c")));
}

TEST_F(BackupRun, AFailedEntryKeepsItsTimeAndTheRunGoesOn) {
    QFile::remove(drives.Host(S("C:\\a\\f.txt")));
    QDir(drives.Host(S("C:\\a"))).removeRecursively();
    EXPECT_EQ(engine::RunBackupAll(engine, list), 2);
    EXPECT_EQ(ui.reports[0].outcome, EntryOutcome::Failed);
    EXPECT_EQ(engine.FailedEntries(), 1);
    EXPECT_EQ(Times()[0], QString(16, u' '));
}

TEST_F(BackupRun, EmptyListFlashesTheWindow) {
    store::DefinitionList empty;
    EXPECT_EQ(engine::RunBackupUpdated(engine, empty), 0);
    EXPECT_EQ(ui.calls, QStringList({S("progress shown"), S("progress hidden")}));
}

TEST_F(BackupRun, BackupNowReportsWhatItCopied) {
    engine::BackupNowRequest request{S("C:\\a"), S("D:\\now"), 0, true, false};
    auto result = engine::BackupEntryNow(engine, list, request);
    EXPECT_TRUE(result.succeeded);
    EXPECT_TRUE(result.registered);
    EXPECT_EQ(result.resultText, S("D:\\now へ、\r　1個のファイルをバックアップ"));
    EXPECT_EQ(Times()[0], S("2026/12/07 12:34"));
    result = engine::BackupEntryNow(engine, list, request);
    EXPECT_EQ(result.resultText, S("更新されたファイルはありません"));
    request.source = S("C:\\unregistered");
    drives.MakeFolder(request.source);
    EXPECT_FALSE(engine::BackupEntryNow(engine, list, request).registered);
    EXPECT_EQ(engine::BackupNowMessage(S("X")), QChar(1) +
                                                    S("ファイルの保存・更新が完了しました||    ") +
                                                    QChar(0) + QChar(8) + S("X") + QChar(7));
}

}  // namespace
