#include "platform/host_files.h"
#include "support/small_disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(HostFiles, RemoveOnlyWhatTheyAreFor) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("中身"));
    const QString file = folder + QStringLiteral("/a.txt");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile(file).open(QIODevice::WriteOnly);

    EXPECT_FALSE(platform::RemoveHostFile(platform::HostPath(folder)));    // a folder is not a file
    EXPECT_FALSE(platform::RemoveHostFolder(platform::HostPath(folder)));  // not empty
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_TRUE(platform::RemoveHostFile(platform::HostPath(file)));
    EXPECT_FALSE(platform::RemoveHostFile(platform::HostPath(file)));  // already gone
    EXPECT_TRUE(platform::RemoveHostFolder(platform::HostPath(folder)));
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(HostFiles, FreeBytesOfTheFileSystemHoldingAFolder) {
    QTemporaryDir dir;
    const std::optional<qint64> free = platform::FreeBytesOf(platform::HostPath(dir.path()));
    ASSERT_TRUE(free.has_value());
    EXPECT_GE(*free, 0);
    EXPECT_FALSE(
        platform::FreeBytesOf(platform::HostPath(dir.filePath(QStringLiteral("missing/x"))))
            .has_value());

    testing_support::SmallDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << "no right to mount a small disk";
    const std::optional<qint64> small = platform::FreeBytesOf(platform::HostPath(disk.Path()));
    ASSERT_TRUE(small.has_value());
    EXPECT_GT(*small, 0);
    EXPECT_LE(*small, 64 * 1024);
}

}  // namespace
