#include "platform/file_copy.h"
#include "support/small_disk.h"
#include "support/temp_drives.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

class FileCopy : public ::testing::Test {
  protected:
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    static struct stat Stat(const QString& path) {
        struct stat st {};
        stat(QFile::encodeName(path).constData(), &st);
        return st;
    }
    QStringList Leftovers() {
        return QDir(dir.path())
            .entryList(QDir::Files | QDir::Hidden)
            .filter(QStringLiteral(".kibako-"));
    }
    QTemporaryDir dir;
};

TEST_F(FileCopy, KeepsTheTimeToTheNanosecondAndThePermissions) {
    const QString source = Write("src.bin", QByteArray(10 * 1024 * 1024 + 17, 'q'));
    chmod(QFile::encodeName(source).constData(), 0640);
    testing_support::SetModifiedTime(source, 1'234'567'890, 123'456'789);
    int progressCalls = 0;
    const auto outcome = platform::CopyHostFile(
        platform::HostPath(source), platform::HostPath(dir.filePath(QStringLiteral("dst.bin"))),
        [&](qint64 done, qint64 total) {
            ++progressCalls;
            EXPECT_LE(done, total);
        });
    ASSERT_TRUE(outcome.ok) << outcome.description.toStdString();
    EXPECT_FALSE(outcome.sourceChanged);
    const struct stat st = Stat(dir.filePath(QStringLiteral("dst.bin")));
    EXPECT_EQ(st.st_size, 10 * 1024 * 1024 + 17);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'234'567'890);
    EXPECT_EQ(st.st_mtim.tv_nsec, 123'456'789);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_GE(progressCalls, 2);
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(FileCopy, AFailedCopyLeavesTheOldTargetAndNoPartialFile) {
    const QString target = Write("dst.txt", "old backup");
    const auto missing = platform::CopyHostFile(
        platform::HostPath(dir.filePath(QStringLiteral("nope"))), platform::HostPath(target));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.errorNumber, ENOENT);
    EXPECT_FALSE(missing.description.isEmpty());

    const QString source = Write("src.txt", "new");
    const auto intoMissingFolder =
        platform::CopyHostFile(platform::HostPath(source),
                               platform::HostPath(dir.filePath(QStringLiteral("no/such/dst.txt"))));
    EXPECT_FALSE(intoMissingFolder.ok);
    EXPECT_EQ(intoMissingFolder.errorNumber, ENOENT);

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old backup"));
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(FileCopy, KeepingAnExistingTargetWritesOnlyAFreeOne) {
    const QString source = Write("src.txt", "new");
    const QString taken = Write("taken.txt", "old backup");
    const auto refused = platform::CopyHostFile(
        platform::HostPath(source), platform::HostPath(taken), {}, platform::ExistingTarget::Keep);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.errorNumber, EEXIST);
    QFile file(taken);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old backup"));

    const QString free = dir.filePath(QStringLiteral("free.txt"));
    ASSERT_TRUE(platform::CopyHostFile(platform::HostPath(source), platform::HostPath(free), {},
                                       platform::ExistingTarget::Keep)
                    .ok);
    QFile written(free);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("new"));
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(FileCopy, AFullDiskKeepsTheOldTarget) {
    testing_support::SmallDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small disk here";
    const QString target = disk.Path() + QStringLiteral("/dst.bin");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(16 * 1024, 'o'));
    }
    const QString source = Write("big.bin", QByteArray(200 * 1024, 'n'));
    const auto outcome =
        platform::CopyHostFile(platform::HostPath(source), platform::HostPath(target));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.errorNumber, ENOSPC);
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray(16 * 1024, 'o'));
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
