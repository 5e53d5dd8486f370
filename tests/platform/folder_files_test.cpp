// The file list's own reading of a folder: the same names as a "*.*" search,
// files only, with sizes and times, and faults reported rather than hidden.
#include "platform/folder_files.h"
#include "platform/dir_search.h"
#include "support/fault_injector.h"
#include "support/temp_drives.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using platform::ListFolderFiles;

namespace {

QStringList Names(const platform::FolderFiles& found) {
    QStringList names;
    for (const auto& file : found.files) names.append(file.name);
    names.sort();
    return names;
}

class FolderFiles : public ::testing::Test {
  protected:
    testing_support::TempDrives drives;
    QByteArray Host(const char* path) {
        return QFile::encodeName(drives.Host(QString::fromUtf8(path)));
    }
};

TEST_F(FolderFiles, ListsTheFilesOfASearchAndNothingElse) {
    drives.WriteFile(QStringLiteral("C:\\d\\a.txt"), "abc", 1'000'000'000);
    drives.WriteFile(QStringLiteral("C:\\d\\empty"), "");
    drives.WriteFile(QStringLiteral("C:\\d\\写真.jpg"), "12345");
    drives.WriteFile(QStringLiteral("C:\\d\\.profile"), "x");
    drives.MakeFolder(QStringLiteral("C:\\d\\sub"));
    const QByteArray d = Host("C:\\d");
    QFile(QFile::decodeName(d + "/odd\\name")).open(QIODevice::WriteOnly);
    QFile(QFile::decodeName(d + "/co:lon")).open(QIODevice::WriteOnly);
    // A name that is not UTF-8 is listed with its odd byte escaped.
    const int bad = open(d + "/bad\xff", O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(bad, 0);
    close(bad);
    ASSERT_EQ(mkfifo(d + "/pipe", 0600), 0);
    ASSERT_EQ(symlink("sub", d + "/folderlink"), 0);
    ASSERT_EQ(symlink("a.txt", d + "/filelink"), 0);
    ASSERT_EQ(symlink("missing", d + "/dangling"), 0);
    ASSERT_EQ(symlink("loop", d + "/loop"), 0);

    const auto found = ListFolderFiles(platform::DrivePath(QStringLiteral("c:\\D")));
    EXPECT_TRUE(found.complete);
    EXPECT_EQ(Names(found), QStringList({"a.txt", QStringLiteral("bad") + QChar(0xDCFF), "empty",
                                         "filelink", "写真.jpg"}));
    for (const auto& file : found.files) {
        if (file.name == QLatin1String("a.txt") || file.name == QLatin1String("filelink")) {
            EXPECT_EQ(file.size, 3);
            EXPECT_EQ(file.modifiedNs, 1'000'000'000LL * 1'000'000'000LL);
        }
    }
    // The same files as the general search finds, folders aside.
    QStringList searched;
    for (const auto& entry :
         platform::SearchDirectory(platform::DrivePath(QStringLiteral("C:\\d\\*.*"))).entries) {
        if (!entry.isFolder) searched.append(entry.name);
    }
    searched.sort();
    EXPECT_EQ(searched, Names(found));
}

// The kernel hands a folder over in reads of a few hundred entries: a folder
// of thousands is read to its end, by both listings.
TEST_F(FolderFiles, AFolderOfManyReadsIsListedWhole) {
    drives.MakeFolder(QStringLiteral("C:\\many"));
    const QString host = drives.Host(QStringLiteral("C:\\many"));
    QStringList written;
    for (int i = 0; i < 3000; ++i) {
        const QString name =
            QStringLiteral("a-rather-long-file-name-to-fill-the-buffer-%1.txt").arg(i);
        QFile file(host + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
        written << name;
    }
    written.sort();
    const auto found = ListFolderFiles(platform::DrivePath(QStringLiteral("C:\\many")));
    EXPECT_TRUE(found.complete);
    EXPECT_EQ(Names(found), written);
    const auto searched =
        platform::SearchDirectory(platform::DrivePath(QStringLiteral("C:\\many\\*.*")));
    EXPECT_TRUE(searched.complete);
    EXPECT_EQ(searched.entries.size(), 3000);
}

TEST_F(FolderFiles, AFolderThatCannotBeReadIsNotComplete) {
    drives.WriteFile(QStringLiteral("C:\\d\\a.txt"), "abc");
    drives.WriteFile(QStringLiteral("C:\\d\\b.txt"), "abc");
    for (const char* path : {"C:\\missing", "C:\\d\\a.txt", "\\\\server\\share", "Q:\\"}) {
        const auto found = ListFolderFiles(platform::DrivePath(QString::fromUtf8(path)));
        EXPECT_FALSE(found.complete) << path;
        EXPECT_TRUE(found.files.empty()) << path;
    }
    {
        testing_support::FaultInjector faults;
        faults.Fail(platform::sys::Call::Stat, QStringLiteral("*/b.txt"), EIO);
        const auto found = ListFolderFiles(platform::DrivePath(QStringLiteral("C:\\d")));
        EXPECT_FALSE(found.complete);
        EXPECT_TRUE(found.error.endsWith(QStringLiteral("\nb.txt"))) << found.error.toStdString();
        EXPECT_EQ(Names(found), QStringList({"a.txt"}));
    }
    {
        testing_support::FaultInjector faults;
        faults.Fail(platform::sys::Call::ReadDir, QStringLiteral("*/d"), EIO);
        EXPECT_FALSE(ListFolderFiles(platform::DrivePath(QStringLiteral("C:\\d"))).complete);
    }
}

}  // namespace
