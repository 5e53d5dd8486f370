// The history of a folder copy and an archive on real folders: pruning by the
// clock's age, the names the history reads back, a failed copy that leaves
// its backup where it was, an archive behind a link and a refused update.
#include "engine/backup_history.h"
#include "engine/archive_update.h"
#include "engine/folder_copy.h"
#include "engine_fixture.h"
#include "platform/clock.h"
#include "support/fault_injector.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>

namespace {

using platform::sys::Call;
using testing_support::D;
using testing_support::FaultInjector;
using testing_support::S;

const QDateTime kNow(QDate(2026, 6, 15), QTime(12, 0));

class BackupHistory : public testing_support::EngineTest {
  protected:
    void SetUp() override {
        platform::SetClockForTesting([] { return kNow; });
        drives.Map(u'D', platform::DriveType::Fixed);
        drives.MakeFolder(S("C:\\src"));
        drives.MakeFolder(S("D:\\dst"));
    }
    void TearDown() override { platform::SetClockForTesting({}); }

    // Writes below D:\dst, making the folders on the way.
    void Put(const QString& relative, const QByteArray& bytes) const {
        const QString path = drives.Host(S("D:\\dst")) + u'/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QStringList Names(const QString& drivePath) const {
        return QDir(drives.Host(drivePath))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
};

TEST_F(BackupHistory, NamesItMadeAreReadBackAndOthersAreNot) {
    EXPECT_EQ(engine::HistoryStamp(kNow), S("2026-06-15_120000"));
    EXPECT_EQ(engine::HistoryEntryTime(S("2026-06-15_120000"), true), kNow);
    EXPECT_EQ(engine::HistoryEntryTime(S("2026-06-15_120000-3"), true), kNow);
    EXPECT_EQ(engine::HistoryEntryTime(S("日記 2026-06-15_120000.LZH"), false), kNow);
    EXPECT_EQ(engine::HistoryEntryTime(S("a b 2026-06-15_120000-2.ZIP"), false), kNow);
    for (const char* name : {"2026-06-15_12000", "2026-13-15_120000", "2026-06-15_120000x",
                             "2026-06-15_120000-", "notes", ""}) {
        EXPECT_FALSE(engine::HistoryEntryTime(S(name), true)) << name;
    }
    EXPECT_FALSE(engine::HistoryEntryTime(S("2026-06-15_120000.LZH"), false));
    EXPECT_FALSE(engine::HistoryEntryTime(S("x 2026-06-15_120000"), false));
}

TEST_F(BackupHistory, PruningRemovesOnlyWhatIsOlderThanTheDaysByTheClock) {
    const QString history = S(".kibako-history/");
    Put(history + S("2026-06-05_115959/a.txt"), "older than 10 days");
    Put(history + S("2026-06-05_120001/a.txt"), "younger than 10 days");
    Put(history + S("日記 2026-05-01_000000.LZH"), "an old history archive");
    Put(history + S("日記 2026-06-14_000000.LZH"), "a recent one");
    Put(history + S("notes/mine.txt"), "not the history's");
    Put(history + S("readme.txt"), "not the history's either");
    const platform::HostPath host(drives.Host(S("D:\\dst\\.kibako-history")));

    EXPECT_TRUE(engine::PruneHistory(host, 0, kNow).isEmpty());  // 0: nothing is kept or pruned
    const QStringList lines = engine::PruneHistory(host, 10, platform::Now());
    EXPECT_EQ(lines.size(), 2) << lines.join(u'\n').toStdString();
    EXPECT_EQ(Names(S("D:\\dst\\.kibako-history")),
              (QStringList{S("2026-06-05_120001"), S("notes"), S("readme.txt"),
                           S("日記 2026-06-14_000000.LZH")}));
}

TEST_F(BackupHistory, AReplacedFileIsLinkedIntoTheHistoryAndAFailedCopyLeavesNoHistory) {
    drives.WriteFile(S("C:\\src\\a.txt"), "new a", 2'000'000'000);
    drives.WriteFile(S("C:\\src\\b.txt"), "new b", 2'000'000'000);
    drives.WriteFile(S("D:\\dst\\a.txt"), "old a", 1'000'000'000);
    drives.WriteFile(S("D:\\dst\\b.txt"), "old b", 1'000'000'000);
    engine.SetHistoryDays(10);
    engine.StartRun();
    {
        FaultInjector faults;
        faults.Fail(Call::Write, S("*/dst/b.txt"), EIO);
        const engine::FolderHistoryScope history(engine, D("D:\\dst"),
                                                 platform::ToHostPath(D("D:\\dst")));
        EXPECT_FALSE(engine::CopyFolder(engine, D("C:\\src"), D("D:\\dst"), false, false));
    }
    const QString kept = S("D:\\dst\\.kibako-history\\2026-06-15_120000\\");
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\a.txt")), QByteArray("new a"));
    EXPECT_EQ(drives.ReadFile(kept + S("a.txt")), QByteArray("old a"));
    EXPECT_EQ(QFileInfo(drives.Host(kept + S("a.txt"))).lastModified().toSecsSinceEpoch(),
              1'000'000'000);
    // b.txt was not replaced: its backup stays the only copy.
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\b.txt")), QByteArray("old b"));
    EXPECT_EQ(Names(kept.chopped(1)), QStringList{S("a.txt")});
}

// A ZIP destination that is a link is updated where it points; its history
// must hold the old member, not a second name of the link. An update refused
// because the file is no archive leaves no history of it behind.
TEST_F(BackupHistory, AnArchiveBehindALinkKeepsItsOldMemberAndARefusedUpdateKeepsNothing) {
    drives.WriteFile(S("C:\\src\\a.txt"), "old a", 1'000'000'000);
    drives.MakeFolder(S("D:\\real"));
    engine.StartRun();
    ASSERT_TRUE(engine::UpdateArchive(engine, D("C:\\src"), D("D:\\real\\B.ZIP"), false, true));
    ASSERT_TRUE(QFile::link(drives.Host(S("D:\\real\\B.ZIP")), drives.Host(S("D:\\dst\\B.ZIP"))));
    drives.WriteFile(S("C:\\src\\a.txt"), "new a", 2'000'000'000);
    engine.SetHistoryDays(10);
    ASSERT_TRUE(engine::UpdateArchive(engine, D("C:\\src"), D("D:\\dst\\B.ZIP"), false, true));
    EXPECT_TRUE(QFileInfo(drives.Host(S("D:\\dst\\B.ZIP"))).isSymLink());
    const QString kept = drives.Host(S("D:\\dst\\.kibako-history")) + S("/B 2026-06-15_120000.ZIP");
    ASSERT_TRUE(QFileInfo(kept).isFile());
    EXPECT_FALSE(QFileInfo(kept).isSymLink());
    if (!QStandardPaths::findExecutable(S("unzip")).isEmpty()) {
        QProcess unzip;
        unzip.start(S("unzip"), {S("-p"), kept, S("a.txt")});
        ASSERT_TRUE(unzip.waitForFinished());
        EXPECT_EQ(unzip.readAllStandardOutput(), QByteArray("old a"));
    }

    const QByteArray text = "not an archive, and not to be touched";
    Put(S("C.ZIP"), text);
    EXPECT_FALSE(engine::UpdateArchive(engine, D("C:\\src"), D("D:\\dst\\C.ZIP"), false, true));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\C.ZIP")), text);
    EXPECT_EQ(Names(S("D:\\dst\\.kibako-history")), QStringList{S("B 2026-06-15_120000.ZIP")});
}

}  // namespace
