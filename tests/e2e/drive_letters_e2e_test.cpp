// The real tetoru binary on detected drives: the machine's mount table and disk
// names come from a fake system folder (KIBAKO_TEST_SYSTEM_ROOT), so the test
// plugs disks in and out between runs.
#include "program_folder.h"
#include "support/fake_system.h"
#include "support/text.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;
using testing_support::FakeSystem;

using testing_support::S;

// C: is the real "/", so a host folder's Windows form is its path on C:.
QString OnC(const QString& hostPath) { return S("C:") + QString(hostPath).replace(u'/', u'\\'); }

class DetectedDrives : public ::testing::Test {
  protected:
    void SetUp() override {
        // A settings file from before remembered letters: no [Drives], no letters.
        home.WriteFile(S("c/kibako/Kibako.INI"), "[Options]\r\nNewFileOnly=0\r\n");
        home.WriteFile(S("c/src/a.txt"), "alpha", 1'600'000'000);
        system.AddDisk(S("sdb1"), S("1111-aaaa"), S("BACKUP"));
        system.AddDisk(S("sdd1"), S("3333-cccc"), S("STICK"));
        qputenv("KIBAKO_TEST_SYSTEM_ROOT", system.Root().toUtf8());
    }
    void TearDown() override { qunsetenv("KIBAKO_TEST_SYSTEM_ROOT"); }

    Finished Run(const QStringList& arguments = {}) {
        return home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), arguments, Display::None);
    }
    bool StickHoldsAnything() const {
        return !QDir(system.HostOf(S("/media/hana/STICK")))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                    .isEmpty();
    }

    ProgramFolder home;
    FakeSystem system;
};

TEST_F(DetectedDrives, RegistrationOnDReachesTheSameDiskAfterAStickIsPluggedIn) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    const Finished listed = Run({S("--drives")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains(S("D:    fixed     BACKUP          ") +
                                    system.HostOf(S("/mnt/backup"))))
        << listed.out.toStdString();
    EXPECT_TRUE(home.Read(S("c/kibako/Kibako.INI")).startsWith("[Options]\r\nNewFileOnly=0\r\n"));

    home.WriteDefinitions({{OnC(home.Host(S("c/src"))), S("D:\\Backup")}});
    // The stick's mount point sorts before /mnt: by mount order it would be D:.
    system.Mount(S("sdd1"), S("/media/hana/STICK"));
    const Finished run = Run();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_EQ(
        home.Read(
            QDir(home.Host(S("."))).relativeFilePath(system.HostOf(S("/mnt/backup/Backup/a.txt")))),
        QByteArray("alpha"));
    EXPECT_FALSE(StickHoldsAnything());
    EXPECT_TRUE(Run({S("--drives")}).out.contains(S("E:    removable STICK")));
}

TEST_F(DetectedDrives, UnpluggedDestinationFailsTheEntryAndTouchesNoOtherDisk) {
    system.Mount(S("sdb1"), S("/mnt/backup"));
    ASSERT_EQ(Run({S("--drives")}).exitCode, 0);
    home.WriteDefinitions({{OnC(home.Host(S("c/src"))), S("D:\\Backup")}});
    system.Unmount(S("/mnt/backup"));
    system.Mount(S("sdd1"), S("/media/hana/STICK"));
    const Finished run = Run();
    EXPECT_NE(run.exitCode, 0) << run.out.toStdString();
    EXPECT_FALSE(StickHoldsAnything());
    EXPECT_TRUE(Run({S("--drives")}).out.contains(S("D:    removable BACKUP          -    ")))
        << Run({S("--drives")}).out.toStdString();
}

}  // namespace
