#include "engine/folder_copy.h"
#include "engine/backup_times.h"
#include "engine_fixture.h"
#include "util/file_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;
using engine::CopyFolder;

namespace {

constexpr qint64 kT = 1'700'000'000;  // a whole second, any second will do

class FolderCopy : public EngineTest {
  protected:
    bool Copy(bool withSub = true, bool deleteMissing = false) {
        return CopyFolder(engine, D("C:\\src"), D("D:\\dst"), withSub, deleteMissing);
    }
    void SetUp() override { drives.Map(u'D', platform::DriveType::Fixed); }
};

TEST_F(FolderCopy, CopiesNewAndNewerFilesOnly) {
    drives.WriteFile(S("C:\\src\\new.txt"), "new", kT);
    drives.WriteFile(S("C:\\src\\newer.txt"), "newer", kT + 1);
    drives.WriteFile(S("D:\\dst\\newer.txt"), "old", kT);
    drives.WriteFile(S("C:\\src\\same.txt"), "source", kT);  // same size and second
    drives.WriteFile(S("D:\\dst\\same.txt"), "backup", kT);
    drives.WriteFile(S("C:\\src\\.hidden"), "dot", kT);
    drives.WriteFile(S("C:\\src\\.dotdir\\x.txt"), "dot", kT);
    drives.WriteFile(S("C:\\src\\sub\\deep.txt"), "deep", kT);

    EXPECT_TRUE(Copy());
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\new.txt")), QByteArray("new"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\newer.txt")), QByteArray("newer"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\same.txt")), QByteArray("backup"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\sub\\deep.txt")), QByteArray("deep"));
    EXPECT_FALSE(QFile::exists(drives.Host(S("D:\\dst")) + S("/.hidden")));
    EXPECT_FALSE(QFile::exists(drives.Host(S("D:\\dst")) + S("/.dotdir")));
    EXPECT_EQ(engine.FileCounter(), 3);
    EXPECT_EQ(ui.count, S("3"));
    EXPECT_TRUE(ui.calls.filter(S("older")).isEmpty());
}

TEST_F(FolderCopy, AsksBeforeAnOlderFileReplacesItsBackup) {
    const auto older = [this](const char* content) {
        drives.WriteFile(S("C:\\src\\a.txt"), content, kT);
        drives.WriteFile(S("D:\\dst\\a.txt"), "backup", kT + 10);
    };
    older("first");
    ui.olderAnswers = {util::Answer::No};
    EXPECT_TRUE(Copy());
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\a.txt")), QByteArray("backup"));
    EXPECT_EQ(engine.FileCounter(), 0);

    older("second");
    ui.olderAnswers = {util::Answer::Yes};
    EXPECT_TRUE(Copy());
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\a.txt")), QByteArray("second"));
    EXPECT_EQ(engine.FileCounter(), 1);

    older("third");  // closed with the close box: the previous answer, yes, stands
    EXPECT_TRUE(Copy());
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\a.txt")), QByteArray("third"));
    EXPECT_EQ(ui.calls.filter(S("older: a.txt")).size(), 3);
}

TEST_F(FolderCopy, DeleteMissingRemovesOnlyFilesWithoutASource) {
    drives.WriteFile(S("C:\\src\\REPORT.DOC"), "r", kT);
    drives.WriteFile(S("C:\\src\\sub\\kept.txt"), "k", kT);
    drives.WriteFile(S("D:\\dst\\Report.doc"), "r", kT);
    drives.WriteFile(S("D:\\dst\\OLD.TXT"), "gone", kT);
    drives.WriteFile(S("D:\\dst\\orphan\\x.txt"), "folder without source", kT);
    drives.WriteFile(S("D:\\dst\\sub\\stale.txt"), "stale", kT);

    EXPECT_TRUE(Copy(true, true));
    EXPECT_TRUE(util::FileExists(D("D:\\dst\\Report.doc")));
    EXPECT_FALSE(util::FileExists(D("D:\\dst\\OLD.TXT")));
    EXPECT_TRUE(util::FileExists(D("D:\\dst\\orphan\\x.txt")));
    EXPECT_FALSE(util::FileExists(D("D:\\dst\\sub\\stale.txt")));
}

TEST_F(FolderCopy, WithoutSubFoldersLowerFoldersAreLeftAlone) {
    drives.WriteFile(S("C:\\src\\top.txt"), "t", kT);
    drives.WriteFile(S("C:\\src\\sub\\low.txt"), "l", kT);
    drives.WriteFile(S("D:\\dst\\sub\\stale.txt"), "s", kT);
    EXPECT_TRUE(Copy(false, true));
    EXPECT_TRUE(util::FileExists(D("D:\\dst\\top.txt")));
    EXPECT_FALSE(util::FileExists(D("D:\\dst\\sub\\low.txt")));
    EXPECT_TRUE(util::FileExists(D("D:\\dst\\sub\\stale.txt")));
}

TEST_F(FolderCopy, MissingSourceAndUncreatableDestinationFail) {
    EXPECT_FALSE(Copy());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(S("バックアップ元のフォルダーが見つかりません")));
    EXPECT_TRUE(ui.messages[0].contains(S("C:\\src")));
    EXPECT_FALSE(util::FolderExists(D("D:\\dst")));
    ui.messages.clear();
    drives.MakeFolder(S("C:\\src"));
    EXPECT_FALSE(CopyFolder(engine, D("C:\\src"), D("D:\\no\\parent\\dst"), true, false));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(S("D:\\no\\parent\\dst")));
    // An empty source folder gives an empty destination folder.
    EXPECT_TRUE(Copy());
    EXPECT_TRUE(util::FolderExists(D("D:\\dst")));
    EXPECT_EQ(engine.FileCounter(), 0);
}

TEST_F(FolderCopy, AbortStopsAfterTheCurrentFile) {
    for (const char* name : {"C:\\src\\a.txt", "C:\\src\\b.txt", "C:\\src\\sub\\c.txt"}) {
        drives.WriteFile(S(name), "x", kT);
    }
    ui.onEvents = [this] {
        if (engine.FileCounter() == 1) engine.RequestAbort();
    };
    EXPECT_FALSE(Copy());
    EXPECT_EQ(engine.FileCounter(), 1);

    // During a sub-folder: the top level's result is false too.
    engine.ClearAbort();
    engine.ResetFileCounter();
    ui.onEvents = [this] {
        if (ui.source.endsWith(S("sub")) && engine.FileCounter() > 0) engine.RequestAbort();
    };
    EXPECT_FALSE(Copy());
}

TEST_F(FolderCopy, NeverFollowsFolderLinksAndSurvivesLinkLoops) {
    drives.WriteFile(S("C:\\src\\a.txt"), "a", kT);
    drives.WriteFile(S("C:\\elsewhere\\secret.txt"), "s", kT);
    const QByteArray src = QFile::encodeName(drives.Host(S("C:\\src")));
    ASSERT_EQ(symlink("..", (src + "/loop").constData()), 0);
    ASSERT_EQ(symlink(QFile::encodeName(drives.Host(S("C:\\elsewhere"))).constData(),
                      (src + "/away").constData()),
              0);
    ASSERT_EQ(symlink("a.txt", (src + "/alias.txt").constData()), 0);
    EXPECT_TRUE(Copy());
    EXPECT_FALSE(util::FolderExists(D("D:\\dst\\loop")));
    EXPECT_FALSE(util::FolderExists(D("D:\\dst\\away")));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\alias.txt")),
              QByteArray("a"));  // a file link is read through
}

TEST_F(FolderCopy, LargeFilesReportProgressBetweenChunks) {
    drives.WriteFile(S("C:\\src\\big.bin"), QByteArray(9 * 1024 * 1024, 'b'), kT);
    EXPECT_TRUE(Copy());
    EXPECT_GE(ui.fileProgressCalls, 2);
}

TEST(BackupTimes, SizesSubSecondsFatStepsAndDaylightSavingShifts) {
    using engine::CompareToBackup;
    using engine::TimeOrder;
    const qint64 s = 1'000'000'000;
    const qint64 us = 1'000;
    struct Case {
        qint64 source, backup;
        bool fat;
        TimeOrder expected;
        qint64 sourceSize = 10, backupSize = 10;
    };
    const Case cases[] = {
        {kT * s, kT * s + 999'999'999, false, TimeOrder::Same},  // an earlier fraction
        {kT * s + 500 * us, kT * s + 400 * us, false, TimeOrder::Newer},
        {kT * s + 400 * us + 999, kT * s + 400 * us, false, TimeOrder::Same},  // below 1 µs
        {kT * s + 900'000'000, kT * s, false, TimeOrder::Same},  // backup keeps whole seconds
        {kT * s + 500 * us, kT * s + 400 * us, true, TimeOrder::Same},
        {kT * s, kT * s, false, TimeOrder::Newer, 10'000'005, 10'000'001},
        {(kT + 1) * s, kT * s, true, TimeOrder::Newer, 11, 10},
        {kT * s, (kT + 1) * s, false, TimeOrder::Older, 11, 10},  // still asked
        {(kT + 1) * s, kT * s, false, TimeOrder::Newer},
        {kT * s, (kT + 1) * s, false, TimeOrder::Older},
        {(kT + 1) * s, kT * s, true, TimeOrder::Same},  // FAT's 2-second steps
        {(kT + 3600) * s, kT * s, true, TimeOrder::Same},
        {kT * s, (kT + 3601) * s, true, TimeOrder::Same},
        {(kT + 3600) * s, kT * s, false, TimeOrder::Newer},
        {(kT + 5) * s, kT * s, true, TimeOrder::Newer},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareToBackup({c.source, c.sourceSize}, {c.backup, c.backupSize}, c.fat),
                  c.expected)
            << c.source << " " << c.backup << " " << c.sourceSize << " " << c.backupSize;
    }
}

// A file written again within the second of its copy: a different size, or a
// later fraction of the second where the file system keeps one, is a change,
// and the next run copies it without asking.
TEST_F(FolderCopy, AFileChangedWithinTheSecondOfItsCopyIsCopiedAgain) {
    const auto stamp = [this](const QString& drivePath, qint64 ns) {
        const struct timespec times[2] = {{0, UTIME_OMIT}, {kT, static_cast<long>(ns)}};
        ASSERT_EQ(utimensat(AT_FDCWD, drives.Host(drivePath).toUtf8().constData(), times, 0), 0);
    };
    drives.WriteFile(S("C:\\src\\grown.bin"), QByteArray(1001, 'a'), kT);
    drives.WriteFile(S("C:\\src\\touched.txt"), "first", kT);
    stamp(S("C:\\src\\touched.txt"), 100'000'000);
    ASSERT_TRUE(Copy());

    drives.WriteFile(S("C:\\src\\grown.bin"), QByteArray(1005, 'b'), kT);
    drives.WriteFile(S("C:\\src\\touched.txt"), "again", kT);
    stamp(S("C:\\src\\touched.txt"), 600'000'000);
    EXPECT_TRUE(Copy());
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\grown.bin")), QByteArray(1005, 'b'));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\touched.txt")), QByteArray("again"));
    EXPECT_TRUE(ui.calls.filter(S("older")).isEmpty());

    engine.ResetFileCounter();
    EXPECT_TRUE(Copy());  // and then it is current
    EXPECT_EQ(engine.FileCounter(), 0);
}

}  // namespace

namespace {

// A sub-folder of the backup that is a link leads out of it: nothing is
// written or deleted behind it, the link stays, and the entry fails naming it.
TEST_F(FolderCopy, ALinkWhereASubFolderBelongsIsNeverFollowed) {
    drives.WriteFile(S("C:\\src\\top.txt"), "top", kT);
    drives.WriteFile(S("C:\\src\\sub\\new.txt"), "new", kT);
    drives.WriteFile(S("D:\\outside\\keep.txt"), "keep", kT);
    drives.MakeFolder(S("D:\\dst"));
    const QString link = drives.Host(S("D:\\dst")) + S("/sub");
    ASSERT_EQ(
        symlink(drives.Host(S("D:\\outside")).toUtf8().constData(), link.toUtf8().constData()), 0);

    EXPECT_FALSE(Copy(true, true));
    EXPECT_EQ(QDir(drives.Host(S("D:\\outside"))).entryList(QDir::Files),
              QStringList{S("keep.txt")});
    EXPECT_EQ(drives.ReadFile(S("D:\\outside\\keep.txt")), QByteArray("keep"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\top.txt")), QByteArray("top"));
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.messages.last().contains(S("D:\\dst\\sub"))) << ui.messages.last().toStdString();
}

// A sub-folder is found from the host path of the level above: a backup
// folder written in other ASCII case by an older run is used, at every level,
// while a person still sees the folders as the source names them.
TEST_F(FolderCopy, SubFoldersInOtherCaseAreFoundBelowTheLevelAbove) {
    drives.WriteFile(S("C:\\src\\Album\\deep\\new.txt"), "new", kT + 1);
    drives.WriteFile(S("C:\\src\\Album\\deep\\same.txt"), "same", kT);
    drives.WriteFile(S("D:\\dst\\ALBUM\\Deep\\same.txt"), "kept", kT);

    EXPECT_TRUE(CopyFolder(engine, D("C:\\SRC"), D("D:\\dst"), true, false));
    EXPECT_EQ(QDir(drives.Host(S("D:\\dst"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{S("ALBUM")});
    EXPECT_EQ(
        QDir(drives.Host(S("D:\\dst")) + S("/ALBUM")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        QStringList{S("Deep")});
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\ALBUM\\Deep\\new.txt")), QByteArray("new"));
    EXPECT_EQ(drives.ReadFile(S("D:\\dst\\ALBUM\\Deep\\same.txt")), QByteArray("kept"));
    EXPECT_EQ(engine.FileCounter(), 1);
    EXPECT_EQ(ui.source, S("C:\\SRC\\Album\\deep"));
    EXPECT_EQ(ui.destination, S("D:\\dst\\Album\\deep"));
}

// A sub-folder that goes away between the listing of its parent and its own
// copy fails the entry naming it, and its siblings are still copied.
TEST_F(FolderCopy, ASubFolderGoneSinceTheListingFailsTheEntryNamingIt) {
    drives.WriteFile(S("C:\\src\\a\\one.txt"), "one", kT);
    drives.WriteFile(S("C:\\src\\b\\two.txt"), "two", kT);
    // Whichever sub-folder is copied first removes the other one.
    QString removed;
    ui.onEvents = [&] {
        for (const char* pair : {"ab", "ba"}) {
            const QString mine = S("C:\\src\\") + QChar(pair[0]);
            const QString other = S("C:\\src\\") + QChar(pair[1]);
            if (ui.source == mine && removed.isEmpty()) {
                removed = other;
                ASSERT_TRUE(QDir(drives.Host(other)).removeRecursively());
            }
        }
    };
    EXPECT_FALSE(Copy());
    ASSERT_FALSE(removed.isEmpty());
    const QString kept =
        removed.endsWith(u'a') ? S("D:\\dst\\b\\two.txt") : S("D:\\dst\\a\\one.txt");
    EXPECT_FALSE(drives.ReadFile(kept).isEmpty());
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.messages.last().contains(removed)) << ui.messages.last().toStdString();
}

}  // namespace
