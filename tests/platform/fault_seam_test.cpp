#include "platform/dir_search.h"
#include "platform/file_copy.h"
#include "platform/regular_file.h"
#include "platform/saved_file.h"
#include "platform/temporary_names.h"
#include "support/fault_injector.h"
#include "support/small_disk.h"
#include "support/temp_drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

using platform::sys::Call;
using testing_support::FaultInjector;

namespace {

QString S(const char* text) { return QString::fromUtf8(text); }
platform::DrivePath D(const char* text) { return platform::DrivePath(S(text)); }

QStringList Names(const platform::SearchResult& result) {
    QStringList names;
    for (const auto& entry : result.entries) names.append(entry.name);
    names.sort();
    return names;
}

// Every name in a host folder, hidden ones included.
QStringList AllNames(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class Faults : public ::testing::Test {
  protected:
    void SetUp() override {
        drives.WriteFile(S("C:\\d\\a.txt"), "a");
        drives.WriteFile(S("C:\\d\\b.txt"), "b");
        drives.MakeFolder(S("C:\\d\\sub"));
        folder = drives.Host(S("C:\\d"));
    }
    testing_support::TempDrives drives;
    QString folder;
};

TEST_F(Faults, AnEntryThatCannotBeExaminedMakesTheListingIncomplete) {
    FaultInjector faults;
    faults.Fail(Call::Stat, S("*/d/b.txt"), EACCES);
    const auto refused = platform::SearchDirectory(D("C:\\d\\*.*"));
    EXPECT_FALSE(refused.complete);
    EXPECT_TRUE(refused.error.contains(S("b.txt"))) << refused.error.toStdString();
    EXPECT_EQ(Names(refused), QStringList({"a.txt", "sub"}));
    // The same for a single name.
    EXPECT_FALSE(platform::SearchDirectory(D("C:\\d\\b.txt")).complete);
}

TEST_F(Faults, AnEntryThatIsGoneIsLeftOutOfACompleteListing) {
    FaultInjector faults;
    faults.Fail(Call::Stat, S("*/d/b.txt"), ENOENT);
    const auto result = platform::SearchDirectory(D("C:\\d\\*.*"));
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(Names(result), QStringList({"a.txt", "sub"}));
}

TEST_F(Faults, ReadingAndOpeningErrorsMakeTheListingIncomplete) {
    for (const Call call : {Call::ReadDir, Call::OpenDir}) {
        FaultInjector faults;
        faults.Fail(call, S("*/d"), EIO);
        const auto result = platform::SearchDirectory(D("C:\\d\\*.*"));
        EXPECT_FALSE(result.complete);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(faults.Injected(), 1);
    }
}

TEST_F(Faults, ASavedFileKeepsItsOldContentWhenAnyStepFails) {
    const platform::HostPath target(folder + S("/Kibako.Def"));
    ASSERT_TRUE(platform::SaveFileAtomically(target, "old content"));
    const QStringList before = AllNames(folder);
    struct Case {
        Call call;
        int error;
    };
    for (const Case& c :
         {Case{Call::Open, EACCES}, Case{Call::Write, ENOSPC}, Case{Call::Write, EDQUOT},
          Case{Call::Fsync, EIO}, Case{Call::Rename, EXDEV}}) {
        SCOPED_TRACE(static_cast<int>(c.call));
        FaultInjector faults;
        faults.Fail(c.call, c.call == Call::Open ? S("*/.kibako-*") : S("*/Kibako.Def"), c.error);
        QString error;
        EXPECT_FALSE(platform::SaveFileAtomically(target, QByteArray(100'000, 'n'), &error));
        EXPECT_TRUE(error.contains(target.text())) << error.toStdString();
        EXPECT_EQ(faults.Injected(), 1);
        QFile file(target.text());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("old content"));
        EXPECT_EQ(AllNames(folder), before);  // no temporary left
    }
}

TEST_F(Faults, ASavedFileIsWrittenThroughALink) {
    ASSERT_TRUE(
        platform::SaveFileAtomically(platform::HostPath(folder + S("/sub/real.ini")), "old"));
    ASSERT_EQ(symlink("sub/real.ini", QFile::encodeName(folder + S("/link.ini")).constData()), 0);
    ASSERT_TRUE(platform::SaveFileAtomically(platform::HostPath(folder + S("/link.ini")), "new"));
    EXPECT_TRUE(QFileInfo(folder + S("/link.ini")).isSymLink());
    QFile file(folder + S("/sub/real.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new"));
}

TEST_F(Faults, ASavedFileOnAFullDiskKeepsItsOldContent) {
    testing_support::SmallDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    const platform::HostPath target(disk.Path() + S("/Kibako.Def"));
    ASSERT_TRUE(platform::SaveFileAtomically(target, QByteArray(8'000, 'o')));
    QString error;
    EXPECT_FALSE(platform::SaveFileAtomically(target, QByteArray(200'000, 'n'), &error));
    EXPECT_FALSE(error.isEmpty());
    QFile file(target.text());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(8'000, 'o'));
    EXPECT_EQ(AllNames(disk.Path()), QStringList({"Kibako.Def"}));
}

TEST_F(Faults, OnlyStaleTemporariesOfOurOwnPatternAreRemoved) {
    const auto touch = [this](const QString& name, qint64 age) {
        QFile file(folder + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        if (age > 0) {
            testing_support::SetModifiedTime(folder + u'/' + name,
                                             QDateTime::currentSecsSinceEpoch() - age);
        }
    };
    const QString own = QString::number(getpid());
    touch(S(".kibako-999999999-dead.tmp"), 0);               // its process is gone
    touch(S(".kibako-1-old.tmp"), 13 * 3600);                // written long ago
    touch(S(".kibako-1-live.tmp"), 0);                       // a live run's
    touch(S(".kibako-") + own + S("-mine.tmp"), 13 * 3600);  // this process's
    touch(S(".kibako-x.tmp2"), 13 * 3600);                   // not the pattern
    touch(S("kibako-999999999-dead.tmp"), 0);                // not hidden: not ours
    EXPECT_EQ(platform::RemoveStaleTemporaries(QFile::encodeName(folder).toStdString()), 2);
    const QStringList left = AllNames(folder);
    EXPECT_FALSE(left.contains(S(".kibako-999999999-dead.tmp")));
    EXPECT_FALSE(left.contains(S(".kibako-1-old.tmp")));
    for (const QString& kept : {S(".kibako-1-live.tmp"), S(".kibako-") + own + S("-mine.tmp"),
                                S(".kibako-x.tmp2"), S("kibako-999999999-dead.tmp")}) {
        EXPECT_TRUE(left.contains(kept)) << kept.toStdString();
    }
}

TEST_F(Faults, AFailedCopyKeepsTheOldTargetAndLeavesNothing) {
    const QString target = folder + S("/sub/a.txt");
    ASSERT_TRUE(
        platform::CopyHostFile(platform::HostPath(folder + S("/b.txt")), platform::HostPath(target))
            .ok);
    for (const Call call : {Call::Write, Call::Open}) {
        FaultInjector faults;
        faults.Fail(call, call == Call::Write ? S("*/sub/a.txt") : S("*/sub"), ENOSPC);
        faults.Fail(Call::Open, S("*/sub/.kibako-*"), ENOSPC);
        const auto outcome = platform::CopyHostFile(platform::HostPath(folder + S("/a.txt")),
                                                    platform::HostPath(target));
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.errorNumber, ENOSPC);
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("b"));
        EXPECT_EQ(AllNames(folder + S("/sub")), QStringList({"a.txt"}));
    }
}

TEST_F(Faults, ASourceChangedDuringItsCopyIsStampedOlder) {
    const QString source = folder + S("/big.bin");
    const qint64 size = platform::kCopyChunkBytes * 2 + 5;
    drives.WriteFile(S("C:\\d\\big.bin"), QByteArray(size, 'x'), 1'700'000'000);
    bool appended = false;
    const auto outcome =
        platform::CopyHostFile(platform::HostPath(source),
                               platform::HostPath(folder + S("/sub/big.bin")), [&](qint64, qint64) {
                                   if (appended) return;
                                   QFile file(source);
                                   ASSERT_TRUE(file.open(QIODevice::Append));
                                   file.write("more");
                                   appended = true;
                               });
    ASSERT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.sourceChanged);
    struct stat st;
    ASSERT_EQ(stat(QFile::encodeName(folder + S("/sub/big.bin")).constData(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'700'000'000 - platform::kChangedCopyAgeSeconds);

    // An unchanged source keeps its own time.
    const auto quiet = platform::CopyHostFile(platform::HostPath(folder + S("/a.txt")),
                                              platform::HostPath(folder + S("/sub/a.txt")));
    EXPECT_FALSE(quiet.sourceChanged);
}

TEST_F(Faults, SpecialFilesAreRefusedWithoutWaiting) {
    const QByteArray fifo = QFile::encodeName(folder + S("/pipe"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    const auto copied = platform::CopyHostFile(platform::HostPath(folder + S("/pipe")),
                                               platform::HostPath(folder + S("/sub/pipe")));
    EXPECT_FALSE(copied.ok);
    EXPECT_EQ(copied.errorNumber, EINVAL);

    QByteArray bytes;
    QString why;
    EXPECT_EQ(platform::ReadRegularFile(platform::HostPath(folder + S("/pipe")), bytes, &why),
              platform::ReadStatus::Refused);
    EXPECT_FALSE(why.isEmpty());
    ASSERT_EQ(symlink("/dev/zero", QFile::encodeName(folder + S("/zero")).constData()), 0);
    EXPECT_EQ(platform::ReadRegularFile(platform::HostPath(folder + S("/zero")), bytes),
              platform::ReadStatus::Refused);
    ASSERT_TRUE(QFile(folder + S("/sparse")).open(QIODevice::WriteOnly));
    ASSERT_EQ(truncate(QFile::encodeName(folder + S("/sparse")).constData(),
                       platform::kLargestReadFile + 1),
              0);
    EXPECT_EQ(platform::ReadRegularFile(platform::HostPath(folder + S("/sparse")), bytes),
              platform::ReadStatus::Refused);
    EXPECT_EQ(platform::ReadRegularFile(platform::HostPath(folder + S("/none")), bytes),
              platform::ReadStatus::Missing);
    EXPECT_EQ(platform::ReadRegularFile(platform::HostPath(folder + S("/a.txt")), bytes),
              platform::ReadStatus::Read);
    EXPECT_EQ(bytes, QByteArray("a"));
}

}  // namespace
