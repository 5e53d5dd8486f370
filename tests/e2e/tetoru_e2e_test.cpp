// The real tetoru binary on a program folder of its own, with and without a display.
#include "program_folder.h"
#include "support/text.h"

#include <QDateTime>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;

using testing_support::S;

qint64 MtimeNs(const QString& path) {
    struct stat st {};
    stat(path.toUtf8().constData(), &st);
    return static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

class Tetoru : public ::testing::TestWithParam<Display> {
  protected:
    void SetUp() override {
        home.WriteFile(S("c/src1/a.txt"), "alpha", 1'600'000'000);
        home.WriteFile(S("c/src1/sub/b.txt"), "beta", 1'600'000'000);
        home.WriteFile(S("c/src2/写真.txt"), "photo", 1'600'000'000);
        home.WriteFile(S("c/src3/z.txt"), "zeta", 1'600'000'000);
        home.WriteDefinitions({{S("C:\\src1"), S("D:\\bak1")},
                               {S("C:\\src2"), S("D:\\arc.LZH")},
                               {S("C:\\src3"), S("D:\\arc.ZIP")}});
    }
    Finished Run(const QStringList& arguments = {}) {
        return home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), arguments, GetParam());
    }
    QString Definitions() const { return home.Host(S("c/kibako/Kibako.Def")); }

    ProgramFolder home;
};

// A refused archive names its reason and its file on standard error, and the
// entry fails; the archive is left as it was.
TEST_P(Tetoru, ArchiveFailuresAreExplained) {
    if (GetParam() != Display::None) GTEST_SKIP() << "standard error is the console's";
    home.WriteFile(S("d/arc.ZIP"), "not a zip archive at all");
    const Finished run = Run();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(S("D:\\arc.ZIP"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(home.Host(S("d/arc.ZIP")))) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(S("2 entries backed up, 1 failed"))) << run.out.toStdString();
    EXPECT_EQ(home.Read(S("d/arc.ZIP")), QByteArray("not a zip archive at all"));
}

TEST_P(Tetoru, BacksUpEveryEntryAndSavesTheNewTimes) {
    const QByteArray before = home.Read(S("c/kibako/Kibako.Def"));
    const Finished run = Run();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(home.Read(S("d/bak1/a.txt")), QByteArray("alpha"));
    EXPECT_EQ(home.Read(S("d/bak1/sub/b.txt")), QByteArray("beta"));
    EXPECT_TRUE(home.Exists(S("d/arc.LZH")));
    EXPECT_TRUE(home.Exists(S("d/arc.ZIP")));
    const QByteArray after = home.Read(S("c/kibako/Kibako.Def"));
    EXPECT_NE(after, before);
    EXPECT_EQ(after.size(), before.size());  // times are rewritten in place
    EXPECT_FALSE(after.contains(QByteArray(16, ' ')));
    if (GetParam() == Display::None) {
        EXPECT_TRUE(run.out.contains(S("C:\\src1 -> D:\\bak1: 2 files backed up")))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(S("TETORU: 3 entries backed up, 0 failed")));
    }
}

TEST_P(Tetoru, CommandLineIsThePathQuotesIncluded) {
    // A name that finds no file is an error, with no fallback to the default file.
    EXPECT_EQ(Run({S("\"C:\\kibako\\Kibako.Def\"")}).exitCode, 66);
    EXPECT_FALSE(home.Exists(S("d/bak1")));
    const Finished missing = Run({S("C:\\kibako\\none.def")});
    EXPECT_EQ(missing.exitCode, 66);
    EXPECT_TRUE(missing.err.contains(S("C:\\kibako\\none.def does not exist")))
        << missing.err.toStdString();
    EXPECT_FALSE(home.Exists(S("d/bak1")));
    home.WriteDefinitions({{S("C:\\src3"), S("D:\\other")}}, S("c/kibako/my list.def"));
    EXPECT_EQ(Run({S("C:\\kibako\\my"), S("list.def")}).exitCode,
              0);  // arguments joined with blanks
    EXPECT_TRUE(home.Exists(S("d/other/z.txt")));
}

TEST_P(Tetoru, AHostPathOnTheCommandLineIsTheHostFile) {
    const QByteArray before = home.Read(S("c/kibako/Kibako.Def"));
    const Finished run = Run({Definitions()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(home.Read(S("d/bak1/a.txt")), QByteArray("alpha"));
    EXPECT_NE(home.Read(S("c/kibako/Kibako.Def")), before);  // saved to the same file

    // A folder that none of the drives holds.
    home.WriteDefinitions({{S("C:\\src3"), S("D:\\other")}}, S("lists/my list.def"));
    const QByteArray listed = home.Read(S("lists/my list.def"));
    const Finished outside = Run({home.Host(S("lists/my")), S("list.def")});
    ASSERT_EQ(outside.exitCode, 0) << outside.err.toStdString();
    EXPECT_EQ(home.Read(S("d/other/z.txt")), QByteArray("zeta"));
    EXPECT_NE(home.Read(S("lists/my list.def")), listed);
}

TEST_P(Tetoru, AMissingHostFileRunsNothingAndNeverPowersOff) {
    const QString record = home.Host(S("poweroff.log"));
    home.WriteSettings({S("AutoPowerOff=-1"), S("PowerOffCommand=touch '") + record + S("'")});
    const QByteArray before = home.Read(S("c/kibako/Kibako.Def"));
    const Finished run = Run({home.Host(S("c/kibako/Kibako.def.old"))});
    EXPECT_EQ(run.exitCode, 66);
    EXPECT_TRUE(run.err.contains(S("Kibako.def.old does not exist"))) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(S("entries backed up")));
    EXPECT_FALSE(home.Exists(S("poweroff.log")));
    EXPECT_FALSE(home.Exists(S("d/bak1")));
    EXPECT_EQ(home.Read(S("c/kibako/Kibako.Def")), before);
}

TEST_P(Tetoru, CatalogNameNamingAMissingFileFallsBackToTheDefault) {
    home.WriteSettings({S("CatalogName=C:\\kibako\\missing.def")});
    EXPECT_EQ(Run().exitCode, 0);
    EXPECT_TRUE(home.Exists(S("d/bak1/a.txt")));
}

TEST_P(Tetoru, UpdatedRunWithNothingChangedLeavesTheFileAlone) {
    ASSERT_EQ(Run().exitCode, 0);
    home.WriteSettings({S("NewFileOnly=2")});
    const QByteArray bytes = home.Read(S("c/kibako/Kibako.Def"));
    const qint64 mtime = MtimeNs(Definitions());
    const Finished second = Run();
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(home.Read(S("c/kibako/Kibako.Def")), bytes);
    EXPECT_EQ(MtimeNs(Definitions()), mtime);

    // One folder changed: only it is backed up.
    home.WriteFile(S("c/src1/new.txt"), "new", QDateTime::currentSecsSinceEpoch() + 120);
    const Finished third = Run();
    EXPECT_EQ(third.exitCode, 0);
    EXPECT_EQ(home.Read(S("d/bak1/new.txt")), QByteArray("new"));
    if (GetParam() == Display::None) {
        EXPECT_TRUE(third.out.contains(S("TETORU: 1 entries backed up")))
            << third.out.toStdString();
    }
}

TEST_P(Tetoru, PowerOffIsRequestedOnceAfterTheSave) {
    const QString record = home.Host(S("poweroff.log"));
    home.WriteSettings({S("AutoPowerOff=-1"), S("PowerOffCommand=cat '") + Definitions() +
                                                  S("' >> '") + record + S("'")});
    EXPECT_EQ(Run().exitCode, 0);
    // The command saw the saved file, and ran once.
    EXPECT_EQ(home.Read(S("poweroff.log")), home.Read(S("c/kibako/Kibako.Def")));
}

TEST_P(Tetoru, AFailedEntryGivesAFailureStatus) {
    home.WriteDefinitions({{S("C:\\missing"), S("D:\\x")}, {S("C:\\src1"), S("D:\\bak1")}});
    const Finished run = Run();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(home.Exists(S("d/bak1/a.txt")));
}

INSTANTIATE_TEST_SUITE_P(Displays, Tetoru, ::testing::Values(Display::None, Display::Offscreen),
                         [](const auto& param) {
                             return param.param == Display::None ? std::string("Console")
                                                                 : std::string("Offscreen");
                         });

TEST(TetoruDate, AYearBefore2000TouchesNothing) {
    ProgramFolder home;
    home.WriteFile(S("c/src1/a.txt"), "alpha", 1'600'000'000);
    home.WriteDefinitions({{S("C:\\src1"), S("D:\\bak1")}});
    const QByteArray bytes = home.Read(S("c/kibako/Kibako.Def"));
    const Finished run = home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), {}, Display::None,
                                  {S("faketime"), S("1999-12-31 23:00:00")});
    if (run.exitCode == -1 || run.err.contains(S("faketime: not found")))
        GTEST_SKIP() << "no faketime";
    EXPECT_EQ(run.exitCode, 3) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(
        S("日付が正しくありません。 コントロール・パネルで正しい日付・時刻を設定して下さい")));
    EXPECT_FALSE(home.Exists(S("d/bak1")));
    EXPECT_EQ(home.Read(S("c/kibako/Kibako.Def")), bytes);
}

}  // namespace
