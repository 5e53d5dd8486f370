#include "platform/dir_search.h"
#include "platform/attributes.h"
#include "support/temp_drives.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using platform::SearchDirectory;

namespace {

QStringList Names(const platform::SearchResult& result) {
    QStringList names;
    for (const auto& entry : result.entries) names.append(entry.name + (entry.isFolder ? "/" : ""));
    names.sort();
    return names;
}

class DirSearch : public ::testing::Test {
  protected:
    testing_support::TempDrives drives;
    QString Host(const char* path) { return drives.Host(QString::fromUtf8(path)); }
};

TEST_F(DirSearch, ListsOnlyAddressableRegularFilesAndFolders) {
    drives.WriteFile(QStringLiteral("C:\\d\\a.txt"), "abc", 1'000'000'000);
    drives.WriteFile(QStringLiteral("C:\\d\\.profile"), "x");
    drives.WriteFile(QStringLiteral("C:\\d\\back\\slash"), "x");  // "back" is a folder
    drives.MakeFolder(QStringLiteral("C:\\d\\sub"));
    QFile(Host("C:\\d") + "/odd\\name").open(QIODevice::WriteOnly);
    QFile(Host("C:\\d") + "/co:lon").open(QIODevice::WriteOnly);
    ASSERT_EQ(mkfifo(QFile::encodeName(Host("C:\\d") + "/pipe").constData(), 0600), 0);
    ASSERT_EQ(symlink("sub", QFile::encodeName(Host("C:\\d") + "/folderlink").constData()), 0);
    ASSERT_EQ(symlink("a.txt", QFile::encodeName(Host("C:\\d") + "/filelink").constData()), 0);
    ASSERT_EQ(symlink("missing", QFile::encodeName(Host("C:\\d") + "/dangling").constData()), 0);

    const auto result = SearchDirectory(platform::DrivePath(QStringLiteral("C:\\D\\*.*")));
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(Names(result), QStringList({"a.txt", "back/", "filelink", "sub/"}));
    EXPECT_EQ(result.passedOver.size(), 2);
    EXPECT_TRUE(result.passedOver.contains(QStringLiteral("odd\\name")));
    EXPECT_TRUE(result.passedOver.contains(QStringLiteral("co:lon")));
    for (const auto& entry : result.entries) {
        if (entry.name == QLatin1String("a.txt") || entry.name == QLatin1String("filelink")) {
            EXPECT_EQ(entry.size, 3);
            EXPECT_EQ(entry.modifiedNs, 1'000'000'000LL * 1'000'000'000LL);
        }
    }
}

// A search for folder names finds exactly the folders of the full search:
// no files, no links to folders, nothing special; single names and patterns
// alike.
TEST_F(DirSearch, FolderNamesAreTheFoldersOfTheFullSearch) {
    drives.WriteFile(QStringLiteral("C:\\d\\a.txt"), "abc");
    drives.MakeFolder(QStringLiteral("C:\\d\\sub"));
    drives.MakeFolder(QStringLiteral("C:\\d\\Other.dir"));
    drives.MakeFolder(QStringLiteral("C:\\d\\.hidden"));
    ASSERT_EQ(mkfifo(QFile::encodeName(Host("C:\\d") + "/pipe").constData(), 0600), 0);
    ASSERT_EQ(symlink("sub", QFile::encodeName(Host("C:\\d") + "/folderlink").constData()), 0);
    ASSERT_EQ(symlink("a.txt", QFile::encodeName(Host("C:\\d") + "/filelink").constData()), 0);
    const auto folders = [](const char* pattern) {
        return Names(SearchDirectory(platform::DrivePath(QString::fromUtf8(pattern)),
                                     platform::SearchDetail::FolderNames));
    };
    EXPECT_EQ(folders("C:\\d\\*.*"), QStringList({"Other.dir/", "sub/"}));
    QStringList full = Names(SearchDirectory(platform::DrivePath(QStringLiteral("C:\\d\\*.*"))));
    full = full.filter(QStringLiteral("/"));
    EXPECT_EQ(folders("C:\\d\\*.*"), full);
    EXPECT_EQ(folders("C:\\d\\*.dir"), QStringList({"Other.dir/"}));
    EXPECT_EQ(folders("C:\\d\\SUB"), QStringList({"sub/"}));
    EXPECT_TRUE(folders("C:\\d\\a.txt").isEmpty());
    EXPECT_TRUE(folders("C:\\d\\filelink").isEmpty());
    EXPECT_TRUE(folders("C:\\d\\folderlink").isEmpty());
}

TEST_F(DirSearch, MatchesSingleNamesWithoutCaseAndPatterns) {
    drives.WriteFile(QStringLiteral("C:\\d\\Report.TXT"), "abc");
    drives.WriteFile(QStringLiteral("C:\\d\\b.doc"), "abc");
    EXPECT_EQ(Names(SearchDirectory(platform::DrivePath(QStringLiteral("c:\\D\\report.txt")))),
              QStringList({"Report.TXT"}));
    EXPECT_EQ(Names(SearchDirectory(platform::DrivePath(QStringLiteral("C:\\d\\*.txt")))),
              QStringList({"Report.TXT"}));
    EXPECT_TRUE(
        SearchDirectory(platform::DrivePath(QStringLiteral("C:\\d\\none.txt"))).entries.isEmpty());
}

TEST_F(DirSearch, ReportsFoldersThatCannotBeRead) {
    EXPECT_FALSE(SearchDirectory(platform::DrivePath(QStringLiteral("C:\\missing\\*.*"))).complete);
    EXPECT_FALSE(
        SearchDirectory(platform::DrivePath(QStringLiteral("\\\\server\\share\\*.*"))).complete);
    if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    drives.MakeFolder(QStringLiteral("C:\\locked"));
    chmod(QFile::encodeName(Host("C:\\locked")).constData(), 0);
    EXPECT_FALSE(SearchDirectory(platform::DrivePath(QStringLiteral("C:\\locked\\*.*"))).complete);
    chmod(QFile::encodeName(Host("C:\\locked")).constData(), 0700);
}

TEST_F(DirSearch, ReadOnlyIsTheMissingWritePermission) {
    drives.WriteFile(QStringLiteral("C:\\ro.txt"), "x");
    const QString host = Host("C:\\ro.txt");
    ASSERT_TRUE(platform::WriteAttributes(platform::HostPath(host), platform::kReadOnly));
    EXPECT_TRUE(*platform::ReadAttributes(platform::HostPath(host)) & platform::kReadOnly);
    ASSERT_TRUE(platform::WriteAttributes(platform::HostPath(host), 0));
    EXPECT_FALSE(*platform::ReadAttributes(platform::HostPath(host)) & platform::kReadOnly);
    EXPECT_FALSE(platform::ReadAttributes(platform::HostPath(Host("C:\\gone.txt"))));
}

}  // namespace
