#include "engine/archive_listing.h"
#include "engine/archive_update.h"
#include "engine/backup_run.h"
#include "engine/destination_check.h"
#include "engine/folder_copy.h"
#include "engine_fixture.h"
#include "platform/clock.h"
#include "support/fault_injector.h"
#include "util/file_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <cerrno>

using namespace testing_support;
using engine::EntryOutcome;
using platform::sys::Call;

namespace {

constexpr qint64 kT = 1'700'000'000;

class EntryFaults : public EngineTest {
  protected:
    void SetUp() override {
        drives.Map(u'D', platform::DriveType::Fixed);
        platform::SetClockForTesting(
            [] { return QDateTime(QDate(2026, 12, 7), QTime(12, 34, 56)); });
        drives.WriteFile(S("C:\\src\\top.txt"), "top", kT);
        drives.WriteFile(S("C:\\src\\sub\\kept1.txt"), "one", kT);
        drives.WriteFile(S("C:\\src\\sub\\kept2.txt"), "two", kT);
    }
    void TearDown() override { platform::SetClockForTesting({}); }
    void Register(const QString& destination, bool deleteMissing) {
        store::BackupEntry entry;
        entry.sourceFolder = S("C:\\src");
        entry.destination = destination;
        entry.lastBackup = store::BackupTime::FromText(S("2020/01/01 00:00"));
        entry.subFolders = destination.endsWith(S(".LZH")) ? store::SubFolders::InOneArchive
                                                           : store::SubFolders::EachAsEntry;
        entry.deleteMissing = deleteMissing;
        list.PutEntry(entry);
        list.SetModified(false);
    }
    QString LastBackup() const { return list.Entries().front().lastBackup.Text(); }
    store::DefinitionList list;
};

// A sub-folder that can be listed but whose entries cannot be examined (a
// folder without its search right): its backups must stay.
TEST_F(EntryFaults, DeleteMissingKeepsBackupsUnderAFolderThatCannotBeExamined) {
    ASSERT_TRUE(engine::CopyFolder(engine, D("C:\\src"), D("D:\\dst"), true, true));
    drives.WriteFile(S("C:\\src\\new.txt"), "new", kT);
    FaultInjector faults;
    faults.Fail(Call::Stat, S("*/src/sub/*"), EACCES);
    EXPECT_FALSE(engine::CopyFolder(engine, D("C:\\src"), D("D:\\dst"), true, true));
    EXPECT_GT(faults.Injected(), 0);
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\sub\\kept1.txt")), QByteArray("one"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\sub\\kept2.txt")), QByteArray("two"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\new.txt")), QByteArray("new"));  // the rest goes on
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.messages.last().contains(S("C:\\src\\sub"))) << ui.messages.last().toStdString();
}

TEST_F(EntryFaults, AFileThatFailsToCopyFailsItsEntryUntilARunCopiesIt) {
    Register(S("D:\\dst"), false);
    drives.WriteFile(S("D:\\dst\\top.txt"), "old backup", kT - 100);
    {
        FaultInjector faults;
        faults.Fail(Call::Write, S("*/dst/top.txt"), ENOSPC);
        EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    }
    EXPECT_EQ(ui.reports.back().outcome, EntryOutcome::Failed);
    EXPECT_EQ(engine.FailedEntries(), 1);
    EXPECT_EQ(LastBackup(), S("2020/01/01 00:00"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\top.txt")), QByteArray("old backup"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\sub\\kept1.txt")), QByteArray("one"));

    // The next updated-only run tries again, and succeeds.
    EXPECT_EQ(engine::RunBackupUpdated(engine, list), 1);
    EXPECT_EQ(ui.reports.back().outcome, EntryOutcome::BackedUp);
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\top.txt")), QByteArray("top"));
    EXPECT_EQ(LastBackup(), S("2026/12/07 12:34"));
}

TEST_F(EntryFaults, AnUnreadableSubFolderFailsItsEntry) {
    Register(S("D:\\dst"), false);
    FaultInjector faults;
    faults.Fail(Call::OpenDir, S("*/src/sub"), EACCES);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(ui.reports.back().outcome, EntryOutcome::Failed);
    EXPECT_EQ(LastBackup(), S("2020/01/01 00:00"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\top.txt")), QByteArray("top"));
    // An updated-only run cannot tell the folder unchanged: it tries, and fails again.
    list.SetLastBackup(S("C:\\src"), store::BackupTime::FromText(S("2025/01/01 00:00")));
    EXPECT_EQ(engine::RunBackupUpdated(engine, list), 0);
    EXPECT_EQ(ui.reports.back().outcome, EntryOutcome::Failed);
}

// The member names of an archive, one a line.
QString MemberNames(const QString& archive) {
    QString names;
    for (const engine::ArchiveMember& member :
         engine::ListArchive(platform::DrivePath(archive)).members)
        names += member.name + u'\n';
    return names;
}

// An archive stores what can be read, deletes nothing under what could not
// be examined, and fails so that the entry is tried again.
TEST_F(EntryFaults, AnArchiveKeepsMembersUnderAFolderThatCannotBeExamined) {
    Register(S("D:\\arc\\SRC.LZH"), true);
    ASSERT_EQ(engine::RunBackupAll(engine, list), 1);
    const QString before = MemberNames(S("D:\\arc\\SRC.LZH"));
    ASSERT_TRUE(before.contains(S("sub\\kept1.txt"))) << before.toStdString();
    drives.WriteFile(S("C:\\src\\new.txt"), "new", kT);
    list.SetLastBackup(S("C:\\src"), store::BackupTime::FromText(S("2020/01/01 00:00")));
    FaultInjector faults;
    faults.Fail(Call::Stat, S("*/src/sub/*"), EACCES);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(ui.reports.back().outcome, EntryOutcome::Failed);
    EXPECT_EQ(LastBackup(), S("2020/01/01 00:00"));
    const QString after = MemberNames(S("D:\\arc\\SRC.LZH"));
    EXPECT_TRUE(after.contains(S("sub\\kept1.txt"))) << after.toStdString();
    EXPECT_TRUE(after.contains(S("sub\\kept2.txt")));
    EXPECT_TRUE(after.contains(S("new.txt")));
}

}  // namespace

namespace {

TEST_F(EntryFaults, ADestinationInsideItsSourceIsRefused) {
    using engine::DestinationInsideSource;
    drives.MakeFolder(S("C:\\other"));
    ASSERT_EQ(symlink(QFile::encodeName(drives.Host(S("C:\\src"))).constData(),
                      QFile::encodeName(drives.Host(S("C:\\other")) + S("/alias")).constData()),
              0);
    EXPECT_TRUE(DestinationInsideSource(D("C:\\src"), D("C:\\src\\Backup"), true));
    EXPECT_TRUE(DestinationInsideSource(D("C:\\src"), D("C:\\SRC\\new\\deeper"), true));
    EXPECT_TRUE(DestinationInsideSource(D("C:\\src"), D("C:\\src"), false));
    EXPECT_TRUE(DestinationInsideSource(D("C:\\other\\alias"), D("C:\\src\\Backup"), true));
    EXPECT_FALSE(DestinationInsideSource(D("C:\\src"), D("C:\\src\\Backup"), false));
    EXPECT_FALSE(DestinationInsideSource(D("C:\\src"), D("C:\\srcBackup"), true));
    EXPECT_FALSE(DestinationInsideSource(D("C:\\src"), D("D:\\dst"), true));

    Register(S("C:\\src\\Backup"), false);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(ui.reports.back().outcome, EntryOutcome::Failed);
    EXPECT_FALSE(QFileInfo::exists(drives.Host(S("C:\\src\\Backup"))));
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.messages.last().contains(S("C:\\src\\Backup")));
}

}  // namespace
