// Where the programs keep their files: KIBAKO_HOME, the executable's folder
// when it can be written, else the user's data folder.
#include "platform/host_program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using platform::ChooseProgramFolder;
using platform::HostPath;
using platform::MayKeepFilesIn;
using platform::ProgramFolderPlaces;

const auto kWritable = [](const HostPath&) { return true; };
const auto kReadOnly = [](const HostPath&) { return false; };

ProgramFolderPlaces Places() {
    ProgramFolderPlaces places;
    places.executableFolder = QStringLiteral("/opt/kibako/bin");
    places.home = QStringLiteral("/home/hana");
    return places;
}

TEST(ProgramFolderRule, KibakoHomeWinsOverEverything) {
    ProgramFolderPlaces places = Places();
    places.kibakoHome = QStringLiteral("/srv/backup/./kibako/");
    places.xdgDataHome = QStringLiteral("/data");
    EXPECT_EQ(ChooseProgramFolder(places, kWritable).text(), QStringLiteral("/srv/backup/kibako"));
    EXPECT_EQ(ChooseProgramFolder(places, kReadOnly).text(), QStringLiteral("/srv/backup/kibako"));
}

TEST(ProgramFolderRule, AWritableExecutableFolderIsUsed) {
    QString asked;
    const HostPath folder = ChooseProgramFolder(Places(), [&asked](const HostPath& candidate) {
        asked = candidate.text();
        return true;
    });
    EXPECT_EQ(folder.text(), QStringLiteral("/opt/kibako/bin"));
    EXPECT_EQ(asked, QStringLiteral("/opt/kibako/bin"));
}

TEST(ProgramFolderRule, AReadOnlyExecutableFolderGivesTheDataFolder) {
    ProgramFolderPlaces places = Places();
    EXPECT_EQ(ChooseProgramFolder(places, kReadOnly).text(),
              QStringLiteral("/home/hana/.local/share/kibako"));
    places.xdgDataHome = QStringLiteral("/home/hana/data");
    EXPECT_EQ(ChooseProgramFolder(places, kReadOnly).text(),
              QStringLiteral("/home/hana/data/kibako"));
    // A relative XDG_DATA_HOME is not valid and counts as unset.
    places.xdgDataHome = QStringLiteral("data");
    EXPECT_EQ(ChooseProgramFolder(places, kReadOnly).text(),
              QStringLiteral("/home/hana/.local/share/kibako"));
}

TEST(ProgramFolderRule, SystemFoldersAreNeverWrittenEvenByRoot) {
    QTemporaryDir dir;
    EXPECT_TRUE(MayKeepFilesIn(HostPath(dir.path())));
    EXPECT_FALSE(MayKeepFilesIn(HostPath(dir.filePath(QStringLiteral("missing")))));
    // Root may write to /usr/bin, but the files of one user do not belong there.
    EXPECT_FALSE(MayKeepFilesIn(HostPath(QStringLiteral("/usr/bin"))));
    EXPECT_FALSE(MayKeepFilesIn(HostPath(QStringLiteral("/usr/local/bin"))));
    EXPECT_FALSE(MayKeepFilesIn(HostPath(QStringLiteral("/bin"))));

    // An installation under a prefix the user owns keeps its files elsewhere.
    QDir(dir.path()).mkpath(QStringLiteral("prefix/bin"));
    const QString bin = dir.filePath(QStringLiteral("prefix/bin"));
    EXPECT_TRUE(MayKeepFilesIn(HostPath(bin)));
    QDir(dir.path()).mkpath(QStringLiteral("prefix/share/doc/kibako"));
    EXPECT_FALSE(MayKeepFilesIn(HostPath(bin)));
}

TEST(ProgramFolderRule, AFolderWithoutWritePermissionIsNotWritableForAUser) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes to any folder of a writable file system";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_FALSE(MayKeepFilesIn(HostPath(dir.path())));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(ProgramFolderRule, TheDataFolderIsCreatedOnFirstStart) {
    QTemporaryDir dir;
    ProgramFolderPlaces places = Places();
    places.xdgDataHome = dir.filePath(QStringLiteral("share"));
    const QString folder = dir.filePath(QStringLiteral("share/kibako"));
    EXPECT_EQ(platform::PrepareProgramFolder(places, kReadOnly).text(), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(platform::PrepareProgramFolder(places, kReadOnly).text(), folder);  // already there

    // A KIBAKO_HOME that does not exist is not made.
    places.kibakoHome = dir.filePath(QStringLiteral("home"));
    EXPECT_EQ(platform::PrepareProgramFolder(places, kReadOnly).text(), places.kibakoHome);
    EXPECT_FALSE(QFileInfo::exists(places.kibakoHome));
}

// The real environment: KIBAKO_HOME unset and XDG_DATA_HOME set. The test
// binary's folder is writable, so it is the program folder; the data folder
// is neither chosen nor created.
TEST(HostProgramFolder, FollowsTheEnvironment) {
    QTemporaryDir dir;
    const QByteArray savedHome = qgetenv("KIBAKO_HOME");
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qunsetenv("KIBAKO_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    const QString executable =
        QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(u'/', 0, -2);
    EXPECT_EQ(platform::HostProgramFolder().text(), executable);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("kibako"))));

    qputenv("KIBAKO_HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
    EXPECT_EQ(platform::HostProgramFolder().text(), dir.filePath(QStringLiteral("home")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("home"))));

    savedHome.isNull() ? qunsetenv("KIBAKO_HOME") : qputenv("KIBAKO_HOME", savedHome);
    savedData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedData);
}

}  // namespace
