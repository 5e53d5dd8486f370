#include "platform/ascii_fold.h"
#include "platform/drive_table.h"
#include "platform/file_name_match.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "platform/mount_table.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

using platform::DriveTable;
using platform::DriveType;
using platform::MatchesWildcard;
namespace {

// The conversions on texts, as these tests write paths.
std::optional<QString> ToHostPath(const QString& drivePath) {
    const auto host = platform::ToHostPath(platform::DrivePath(drivePath));
    return host ? std::optional<QString>(host->text()) : std::nullopt;
}
std::optional<QString> ToDrivePath(const QString& hostPath) {
    const auto drive = platform::ToDrivePath(platform::HostPath(hostPath));
    return drive ? std::optional<QString>(drive->text()) : std::nullopt;
}
int MakeHostFolder(const QString& hostFolder) {
    return MakeHostFolder(platform::HostPath(hostFolder));
}

}  // namespace

TEST(Wildcard, FollowsWindowsRules) {
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("*.*"), QStringLiteral("README")));
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("*.TXT"), QStringLiteral("a.txt")));
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("rep*.*"), QStringLiteral("report")));
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("a?"), QStringLiteral("ab")));
    EXPECT_FALSE(MatchesWildcard(QStringLiteral("a?"), QStringLiteral("abc")));
    EXPECT_FALSE(MatchesWildcard(QStringLiteral("*.txt"), QStringLiteral("a.doc")));
    // Only ASCII letters fold: full-width letters keep their case.
    EXPECT_FALSE(MatchesWildcard(QStringLiteral("Ａ"), QStringLiteral("ａ")));
}

TEST(AsciiFold, ChangesOnlyAsciiLetters) {
    EXPECT_EQ(platform::AsciiFold(QStringView(u"abz_AZ[`{ｄａｔａé")), u"ABZ_AZ[`{ｄａｔａé");
    EXPECT_TRUE(platform::SameName(u"My Documents", u"MY documents"));
    EXPECT_FALSE(platform::SameName(u"ＤＡＴＡ", u"ｄａｔａ"));
    EXPECT_FALSE(platform::SameName(u"Ab", u"Abc"));
    EXPECT_FALSE(platform::SameName(u"a_", u"A\x7F"));
    EXPECT_EQ(platform::AsciiLowerOf(u'Q'), u'q');
    EXPECT_EQ(platform::AsciiLowerOf(u'['), u'[');
}

TEST(DriveTableTest, LoadsTheDrivesSectionAndAnswersDriveTypes) {
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("Kibako.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[Drives]\r\nE=removable|/media/hana/USB1|PHOTOS\r\nc=fixed|/home/\r\n"
        "R=cdrom|/media/cd\r\nX=other|/srv|A|B\r\nbad=fixed|/x\r\nQ=fixed|\r\n");
    ini.close();
    const DriveTable table = DriveTable::Load(platform::HostPath(ini.fileName()));
    EXPECT_EQ(table.TypeOf(u'e'), DriveType::Removable);
    EXPECT_EQ(table.Find(u'E')->label, QStringLiteral("PHOTOS"));
    EXPECT_EQ(table.Find(u'C')->root.text(), QStringLiteral("/home"));
    EXPECT_EQ(table.TypeOf(u'R'), DriveType::CdRom);
    EXPECT_EQ(table.Find(u'X')->label, QStringLiteral("A|B"));
    EXPECT_EQ(table.TypeOf(u'Q'), DriveType::NoRootDir);  // no root folder given
    EXPECT_EQ(table.TypeOf(u'1'), DriveType::Unknown);
    EXPECT_EQ(table.LetterHolding(platform::HostPath(QStringLiteral("/media/hana/USB1/a/b"))),
              QChar(u'E'));
    EXPECT_EQ(table.LetterHolding(platform::HostPath(QStringLiteral("/media/hana/USB10"))),
              std::nullopt);
}

TEST(DriveTableTest, DetectionMapsCToRootAndSkipsPseudoFileSystems) {
    const DriveTable table = DriveTable::Detect();
    EXPECT_EQ(table.Find(u'C')->root.text(), QStringLiteral("/"));
    EXPECT_EQ(table.TypeOf(u'C'), DriveType::Fixed);
    EXPECT_TRUE(platform::PseudoMountPoints().contains(QStringLiteral("/proc")));
}

TEST(HostPath, ResolvesComponentsWithoutAsciiCase) {
    testing_support::TempDrives drives;
    const QString root = drives.Root() + QStringLiteral("/c");
    for (const char* folder : {"/Home/hana", "/Home/HANA", "/Home/Hana2"}) {
        QDir().mkpath(root + QString::fromUtf8(folder));
    }
    // An exact match wins; among inexact ones the first in byte order.
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\home\\hana")), root + QStringLiteral("/Home/hana"));
    EXPECT_EQ(*ToHostPath(QStringLiteral("c:\\HOME\\Hana")), root + QStringLiteral("/Home/HANA"));
    // Missing components are kept as written, so the path can be created.
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\home\\new\\Sub")),
              root + QStringLiteral("/Home/new/Sub"));
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:")), root);
    EXPECT_FALSE(ToHostPath(QStringLiteral("\\\\server\\share")));
    EXPECT_FALSE(ToHostPath(QStringLiteral("home\\hana")));
    EXPECT_FALSE(ToHostPath(QStringLiteral("Q:\\x")));
    EXPECT_FALSE(ToHostPath(QStringLiteral("C:\\Home\\..\\..\\etc")));
}

// Names Linux allows and Windows does not: case twins and blanks at the
// ends each reach their own folder when written exactly.
TEST(HostPath, CaseTwinsAndBlankEdgedNamesResolveExactly) {
    testing_support::TempDrives drives;
    const QString root = drives.Root() + QStringLiteral("/c");
    for (const char* folder : {"/Photos/x", "/photos/y", "/ a ", "/a"}) {
        QDir().mkpath(root + QString::fromUtf8(folder));
    }
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\photos\\y")), root + QStringLiteral("/photos/y"));
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\Photos\\x")), root + QStringLiteral("/Photos/x"));
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\ a ")), root + QStringLiteral("/ a "));
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\a")), root + QStringLiteral("/a"));
    // Only a name that exists in no case as written is matched without case.
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\PHOTOS\\y")), root + QStringLiteral("/Photos/y"));
}

// Lookups in other case reuse what they learnt of a folder only while nobody
// else changed it: names made by the run itself, and by anyone after it, are
// found; a name gone is no longer matched.
TEST(HostPath, KeptListingsFollowTheFolderTheyDescribe) {
    testing_support::TempDrives drives;
    const QString root = drives.Root() + QStringLiteral("/c");
    const QString parent = root + QStringLiteral("/Backup");
    ASSERT_EQ(MakeHostFolder(parent), 0);
    for (int i = 0; i < 50; ++i) {
        const QString name = QStringLiteral("Album%1").arg(i);
        // Each new folder is first looked up as written, then created.
        EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\BACKUP\\") + name), parent + u'/' + name);
        ASSERT_EQ(MakeHostFolder(parent + u'/' + name), 0);
        EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\backup\\") + name.toUpper()),
                  parent + u'/' + name);
    }
    EXPECT_EQ(MakeHostFolder(parent + QStringLiteral("/Album7")), EEXIST);
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\backup\\album7\\NEW")),
              parent + QStringLiteral("/Album7/NEW"));

    // Another program changes the folder later (a new tick of the clock).
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_TRUE(QDir().mkdir(parent + QStringLiteral("/Other")));
    ASSERT_TRUE(QDir().rmdir(parent + QStringLiteral("/Album3")));
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\BACKUP\\OTHER")), parent + QStringLiteral("/Other"));
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\BACKUP\\ALBUM3")),
              parent + QStringLiteral("/ALBUM3"));
    // The first in byte order still wins among names made by us and others.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_TRUE(QDir().mkdir(parent + QStringLiteral("/OTHER")));
    EXPECT_EQ(*ToHostPath(QStringLiteral("C:\\Backup\\other")), parent + QStringLiteral("/OTHER"));
    EXPECT_EQ(MakeHostFolder(root + QStringLiteral("/missing/sub")), ENOENT);
}

TEST(HostPath, MapsHostPathsBackWithTheLongestRoot) {
    testing_support::TempDrives drives;
    platform::DriveTable table = platform::CurrentDrives();
    table.Map(u'F', DriveType::Fixed,
              platform::HostPath(drives.Root() + QStringLiteral("/c/deep")));
    platform::SetCurrentDrives(table);
    EXPECT_EQ(*ToDrivePath(drives.Root() + QStringLiteral("/c/deep/x/写真")),
              QStringLiteral("F:\\x\\写真"));
    EXPECT_EQ(*ToDrivePath(drives.Root() + QStringLiteral("/c/other")),
              QStringLiteral("C:\\other"));
    EXPECT_EQ(*ToDrivePath(drives.Root() + QStringLiteral("/c")), QStringLiteral("C:\\"));
    EXPECT_FALSE(ToDrivePath(QStringLiteral("/nowhere-mapped")));
}

// A drive path and the host path of the same folder lead to each other, also
// through a name that is not UTF-8 on the disk (its bytes escaped) and a name
// found in other ASCII case; the escaped bytes reach the same host bytes.
TEST(HostPath, DriveAndHostPathsOfOneFolderRoundTrip) {
    testing_support::TempDrives drives;
    const QString root = drives.Root() + QStringLiteral("/c");
    const QByteArray shiftJis("\x8e\xca\x90\x5e");  // 写真 in Shift_JIS
    const QByteArray hostFolder = platform::HostBytes(root) + "/Data/" + shiftJis;
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/Data")));
    ASSERT_EQ(::mkdir(hostFolder.constData(), 0777), 0);
    const platform::HostPath host(platform::HostText(hostFolder));
    ASSERT_TRUE(platform::HoldsEscapedBytes(host.text()));

    const std::optional<platform::DrivePath> drive = platform::ToDrivePath(host);
    ASSERT_TRUE(drive);
    EXPECT_TRUE(drive->text().startsWith(QStringLiteral("C:\\Data\\")));
    EXPECT_EQ(platform::ToHostPath(*drive), host);
    EXPECT_EQ(platform::HostBytes(platform::ToHostPath(*drive)->text()), hostFolder);
    // In other case the drive path still finds the folder, and a walk from the
    // parent's host path finds the same one.
    const platform::DrivePath upper(
        QString(drive->text()).replace(QStringLiteral("Data"), QStringLiteral("DATA")));
    EXPECT_EQ(platform::ToHostPath(upper), host);
    const platform::HostLook below = platform::LookUpHostEntry(
        *platform::ToHostPath(platform::DrivePath(QStringLiteral("C:\\data"))),
        drive->text().mid(drive->text().lastIndexOf(u'\\') + 1));
    EXPECT_EQ(below.path, host);
    EXPECT_EQ(below.found, platform::HostLook::Kind::Folder);
    // A name that is not there comes back as written, with nothing found.
    const platform::HostLook missing = platform::LookUpHostEntry(host, QStringLiteral("New"));
    EXPECT_EQ(missing.path, host.Below(QStringLiteral("New")));
    EXPECT_EQ(missing.found, platform::HostLook::Kind::Nothing);
    ::rmdir(hostFolder.constData());  // QTemporaryDir cannot remove a name that is not UTF-8
}
