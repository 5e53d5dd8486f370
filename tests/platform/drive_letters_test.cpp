#include "platform/drive_letters.h"
#include "platform/drive_report.h"
#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "platform/profile_file.h"
#include "support/fake_system.h"
#include "support/text.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using platform::DriveTable;
using platform::DriveType;
using testing_support::FakeSystem;

namespace {

using testing_support::D;
using testing_support::S;

QByteArray ReadAll(const platform::HostPath& path) {
    QFile file(path.text());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const platform::HostPath& path, const QByteArray& bytes) {
    QFile file(path.text());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// One settings file and one machine whose disks the tests plug and unplug;
// each Start() is a program starting on that machine.
class DriveLetters : public testing::Test {
  protected:
    void SetUp() override {
        system.AddDisk(S("sdb1"), S("1111-aaaa"), S("BACKUP"));
        system.AddDisk(S("sdc1"), S("2222-bbbb"), S("PHOTOS"));
        system.AddDisk(S("sdd1"), S("3333-cccc"), S("STICK"));
    }

    DriveTable Start() {
        QString error;
        DriveTable table = DriveTable::Detect(system.Sources(), settings, &error);
        EXPECT_EQ(error, QString());
        return table;
    }

    // The letter whose root is the host folder of `mountPoint`.
    QString LetterAt(const DriveTable& table, const char* mountPoint) {
        for (const platform::Drive& drive : table.MappedDrives()) {
            if (drive.root.text() == system.HostOf(S(mountPoint))) return QString(drive.letter);
        }
        return {};
    }

    FakeSystem system;
    QTemporaryDir home;
    platform::HostPath settings{home.filePath(S("Kibako.INI"))};
};

TEST_F(DriveLetters, PlugOrderDoesNotChangeLetters) {
    system.Mount(S("sdb1"), S("/mnt/b"));
    system.Mount(S("sdc1"), S("/media/hana/A"));
    const DriveTable first = Start();
    EXPECT_EQ(LetterAt(first, "/media/hana/A"), S("D"));
    EXPECT_EQ(LetterAt(first, "/mnt/b"), S("E"));

    // Next days: only B, then B and A plugged the other way round, then A alone.
    system.UnmountAll();
    system.Mount(S("sdb1"), S("/mnt/b"));
    EXPECT_EQ(LetterAt(Start(), "/mnt/b"), S("E"));
    system.Mount(S("sdc1"), S("/media/hana/A"));
    const DriveTable both = Start();
    EXPECT_EQ(LetterAt(both, "/mnt/b"), S("E"));
    EXPECT_EQ(LetterAt(both, "/media/hana/A"), S("D"));
    system.Unmount(S("/mnt/b"));
    EXPECT_EQ(LetterAt(Start(), "/media/hana/A"), S("D"));
}

TEST_F(DriveLetters, StickPluggedBetweenRunsDoesNotMoveADiskUnderMnt) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    EXPECT_EQ(LetterAt(Start(), "/mnt/backup"), S("D"));
    // /media sorts before /mnt: the stick would have taken D: by mount order.
    system.Mount(S("sdd1"), S("/media/hana/STICK"));
    const DriveTable table = Start();
    EXPECT_EQ(LetterAt(table, "/mnt/backup"), S("D"));
    EXPECT_EQ(LetterAt(table, "/media/hana/STICK"), S("E"));
    EXPECT_EQ(table.TypeOf(u'D'), DriveType::Fixed);
    EXPECT_EQ(table.TypeOf(u'E'), DriveType::Removable);
    EXPECT_EQ(table.Find(u'E')->label, S("STICK"));
}

TEST_F(DriveLetters, UnpluggedDiskKeepsItsLetterAsADriveWithoutMedium) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    Start();
    system.Unmount(S("/mnt/backup"));
    system.Mount(S("sdc1"), S("/mnt/photos"));
    const DriveTable table = Start();
    EXPECT_EQ(LetterAt(table, "/mnt/photos"), S("E"));
    EXPECT_EQ(table.TypeOf(u'D'), DriveType::Removable);
    EXPECT_FALSE(table.Find(u'D'));  // no root folder, so no path on it resolves
    EXPECT_EQ(table.LetterHolding(platform::HostPath(system.HostOf(S("/mnt/photos/x")))),
              QChar(u'E'));

    const platform::DriveTable previous = platform::CurrentDrives();
    platform::SetCurrentDrives(table);
    EXPECT_FALSE(platform::ToHostPath(D("D:\\Backup")));
    platform::SetCurrentDrives(previous);

    const QString report = platform::DriveReport(table);
    EXPECT_TRUE(report.contains(S("remembered, not mounted (last at /mnt/backup)")));
    EXPECT_TRUE(report.contains(S("BACKUP")));
}

TEST_F(DriveLetters, RemountedDiskKeepsItsLetterByUuid) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    Start();
    system.Unmount(S("/mnt/backup"));
    system.Mount(S("sdc1"), S("/mnt/backup"));  // another disk where the first was
    system.Mount(S("sdb1"), S("/media/hana/BACKUP"));
    const DriveTable table = Start();
    EXPECT_EQ(LetterAt(table, "/media/hana/BACKUP"), S("D"));
    EXPECT_EQ(LetterAt(table, "/mnt/backup"), S("E"));
    // The record follows the disk, so an unplugged disk shows where it was last.
    EXPECT_EQ(platform::ReadProfileString(settings, S("DriveLetters"), S("D")),
              S("uuid:1111-aaaa|removable|/media/hana/BACKUP|BACKUP"));
}

TEST_F(DriveLetters, FileSystemsWithoutUuidAreKnownByLabelAndMountPoint) {
    system.AddDisk(S("nas"), QString(), S("SHARE"));
    system.Mount(S("nas"), S("/mnt/nas"), S("nfs"));
    system.Mount(S("sdb1"), S("/mnt/z"));
    EXPECT_EQ(LetterAt(Start(), "/mnt/nas"), S("D"));
    system.Unmount(S("/mnt/nas"));
    system.Mount(S("nas"), S("/mnt/nas2"), S("nfs"));
    const DriveTable moved = Start();
    EXPECT_EQ(LetterAt(moved, "/mnt/nas2"), S("F"));  // a new file system to us
    EXPECT_EQ(moved.TypeOf(u'D'), DriveType::Removable);
    system.Unmount(S("/mnt/nas2"));
    system.Mount(S("nas"), S("/mnt/nas"), S("nfs"));
    EXPECT_EQ(LetterAt(Start(), "/mnt/nas"), S("D"));
}

TEST_F(DriveLetters, SecondMountOfOneFileSystemDoesNotTakeItsLetter) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    Start();
    // The same file system again, and one of its folders, both sorting first.
    system.Mount(S("sdb1"), S("/media/a"));
    system.Mount(S("sdb1"), S("/media/b"), S("ext4"), S("/sub"));
    const DriveTable table = Start();
    EXPECT_EQ(LetterAt(table, "/mnt/backup"), S("D"));
    EXPECT_EQ(LetterAt(table, "/media/a"), S("E"));
    EXPECT_EQ(LetterAt(table, "/media/b"), S("F"));
    EXPECT_EQ(platform::ReadProfileString(settings, S("DriveLetters"), S("F")).section(u'|', 0, 0),
              S("uuid:1111-aaaa/sub"));
    EXPECT_EQ(LetterAt(Start(), "/media/b"), S("F"));
}

TEST_F(DriveLetters, AutomountPointKeepsTheLetterOfTheDiskLastMountedThere) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    Start();
    // Before its first access the disk shows as an autofs placeholder.
    system.UnmountAll();
    system.Mount(S("systemd-1"), S("/mnt/backup"), S("autofs"));
    system.Mount(S("systemd-1"), S("/mnt/other"), S("autofs"));
    const QByteArray before = ReadAll(settings);
    const DriveTable table = Start();
    EXPECT_EQ(LetterAt(table, "/mnt/backup"), S("D"));
    EXPECT_EQ(table.Find(u'D')->label, S("BACKUP"));
    EXPECT_EQ(LetterAt(table, "/mnt/other"), QString());  // unknown until mounted once
    EXPECT_EQ(ReadAll(settings), before);
    // Accessed: the disk itself is listed over the placeholder.
    system.Mount(S("sdb1"), S("/mnt/backup"));
    EXPECT_EQ(LetterAt(Start(), "/mnt/backup"), S("D"));
    EXPECT_EQ(ReadAll(settings), before);
}

TEST_F(DriveLetters, RedetectionBeforeADriveQuestionKeepsTheLetters) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    const platform::DriveTable previous = platform::CurrentDrives();
    platform::SetCurrentDrives(Start());
    system.Mount(S("sdd1"), S("/media/hana/STICK"));
    platform::RefreshDetectedDrives();
    EXPECT_EQ(LetterAt(platform::CurrentDrives(), "/mnt/backup"), S("D"));
    EXPECT_EQ(LetterAt(platform::CurrentDrives(), "/media/hana/STICK"), S("E"));
    platform::SetCurrentDrives(previous);
}

TEST_F(DriveLetters, DrivesSectionStillOverridesAndNothingIsRemembered) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    const QByteArray text = "[Drives]\r\nD=fixed|/srv/data|DATA\r\n";
    WriteAll(settings, text);
    qputenv("KIBAKO_TEST_SYSTEM_ROOT", system.Root().toUtf8());
    const DriveTable table = DriveTable::Load(settings);
    qunsetenv("KIBAKO_TEST_SYSTEM_ROOT");
    EXPECT_EQ(table.Find(u'D')->root.text(), S("/srv/data"));
    EXPECT_FALSE(table.Find(u'E'));
    EXPECT_EQ(ReadAll(settings), text);
}

TEST_F(DriveLetters, OldSettingsFileGainsTheSectionAndKeepsEveryOtherByte) {
    // Written by the earlier version: CP932 text, a comment, CR LF lines.
    const QByteArray old =
        "[Options]\r\nCatalogName=C:\\home\\hana\\\x8e\xca\x90\x5e.Def\r\n; note\r\n"
        "NewFileOnly=-1\r\nWindowX= 600\r\n\r\n[Other]\r\nKey=Value\r\n";
    WriteAll(settings, old);
    system.Mount(S("sdb1"), S("/mnt/backup"));
    qputenv("KIBAKO_TEST_SYSTEM_ROOT", system.Root().toUtf8());
    QString error;
    const DriveTable table = DriveTable::Load(settings, &error);
    qunsetenv("KIBAKO_TEST_SYSTEM_ROOT");
    EXPECT_EQ(error, QString());
    EXPECT_EQ(LetterAt(table, "/mnt/backup"), S("D"));
    EXPECT_EQ(ReadAll(settings),
              old + "[DriveLetters]\r\nD=uuid:1111-aaaa|fixed|/mnt/backup|BACKUP\r\n");
}

TEST_F(DriveLetters, BadRecordsAreIgnoredAndNeverTakeC) {
    WriteAll(settings,
             "[DriveLetters]\r\nC=uuid:1111-aaaa|fixed|/mnt/backup|\r\nDD=uuid:x|fixed|/a|\r\n"
             "G=nonsense|fixed|/a|\r\nH=mount|fixed||\r\nJ=uuid:2222-bbbb|fixed\r\n");
    system.Mount(S("sdb1"), S("/mnt/backup"));
    const DriveTable table = Start();
    EXPECT_EQ(table.Find(u'C')->root.text(), S("/"));
    EXPECT_EQ(LetterAt(table, "/mnt/backup"), S("D"));
    EXPECT_EQ(table.TypeOf(u'G'), DriveType::NoRootDir);
}

TEST_F(DriveLetters, LettersHoldForTheProcessWhenTheyCannotBeRemembered) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    QString error;
    const DriveTable table = DriveTable::Detect(
        system.Sources(), platform::HostPath(home.filePath(S("missing/Kibako.INI"))), &error);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(LetterAt(table, "/mnt/backup"), S("D"));
    EXPECT_TRUE(platform::DriveReport(table).contains(S("mounted, not remembered")));
}

TEST(DriveLetterAssignment, NoLetterLeftIsReportedNotReused) {
    QList<platform::RememberedLetter> remembered;
    for (char16_t letter = u'D'; letter <= u'Z'; ++letter) {
        remembered.append(
            {QChar(letter), {S("uuid:%1").arg(letter), DriveType::Removable, S("/media/x"), {}}});
    }
    const auto assignment = platform::AssignLetters(
        remembered, {{S("uuid:new"), DriveType::Fixed, S("/mnt/new"), S("NEW")}});
    EXPECT_TRUE(assignment.mounted.isEmpty());
    EXPECT_EQ(assignment.reserved.size(), 23);
    ASSERT_EQ(assignment.unlettered.size(), 1);
    EXPECT_TRUE(assignment.toRemember.isEmpty());
}

// Forks `count` processes that wait at a common start line and run `job(i)`,
// whose result (a small text) each writes to its own file; returns the texts.
template <typename Job>
QList<QByteArray> RaceProcesses(int count, const QString& folder, Job job) {
    int gate[2];
    EXPECT_EQ(::pipe(gate), 0);
    QList<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(gate[1]);
            char byte;
            while (::read(gate[0], &byte, 1) > 0) {
            }
            QFile out(folder + S("/result%1").arg(i));
            out.open(QIODevice::WriteOnly);
            out.write(job(i));
            out.close();
            ::_exit(0);
        }
        children.append(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);  // every child starts now
    for (const pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    QList<QByteArray> results;
    for (int i = 0; i < count; ++i)
        results.append(ReadAll(platform::HostPath(folder + S("/result%1").arg(i))));
    return results;
}

TEST(DriveLetterRace, ProgramsStartingTogetherNeverShareALetter) {
    // Each program sees a different new disk (a disk plugged in between their
    // looks at the mount table): without the lock both would take D:.
    constexpr int kPrograms = 8;
    QTemporaryDir home;
    const platform::HostPath settings(home.filePath(S("Kibako.INI")));
    std::vector<std::unique_ptr<FakeSystem>> systems;
    for (int i = 0; i < kPrograms; ++i) {
        systems.push_back(std::make_unique<FakeSystem>());
        systems.back()->AddDisk(S("sdb1"), S("uuid-%1").arg(i));
        systems.back()->Mount(S("sdb1"), S("/mnt/disk%1").arg(i));
    }
    const QList<QByteArray> letters = RaceProcesses(kPrograms, home.path(), [&](int i) {
        const DriveTable table = DriveTable::Detect(systems[i]->Sources(), settings);
        const auto letter =
            table.LetterHolding(platform::HostPath(systems[i]->HostOf(S("/mnt/disk%1").arg(i))));
        return letter ? QString(*letter).toUtf8() : QByteArray("?");
    });
    QSet<QByteArray> distinct(letters.begin(), letters.end());
    EXPECT_EQ(distinct.size(), kPrograms) << letters.join(' ').constData();
    EXPECT_FALSE(distinct.contains("?"));
    const auto section = platform::ReadProfileSection(settings, S("DriveLetters"));
    EXPECT_EQ(section.size(), kPrograms);
    for (int i = 0; i < kPrograms; ++i) {
        EXPECT_EQ(platform::ReadProfileString(settings, S("DriveLetters"), letters[i]),
                  S("uuid:uuid-%1|fixed|/mnt/disk%1|").arg(i));
    }
}

TEST(DriveLetterRace, SettingsWritesOfTwoProgramsAreNeverLost) {
    constexpr int kPrograms = 8;
    QTemporaryDir home;
    const platform::HostPath settings(home.filePath(S("Kibako.INI")));
    RaceProcesses(kPrograms, home.path(), [&](int i) {
        for (int round = 0; round < 5; ++round) {
            platform::WriteProfileString(settings, S("Options"), S("Key%1_%2").arg(i).arg(round),
                                         S("x"));
        }
        return QByteArray("done");
    });
    EXPECT_EQ(platform::ReadProfileSection(settings, S("Options")).size(), kPrograms * 5);
}

}  // namespace
