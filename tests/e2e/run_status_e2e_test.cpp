// The run log the real tetoru writes, and `tetoru --status` reading it back.
#include "program_folder.h"
#include "support/text.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;
using testing_support::S;

class RunStatus : public ::testing::Test {
  protected:
    void SetUp() override {
        home.WriteFile(S("c/docs/a.txt"), "alpha", 1'600'000'000);
        home.WriteFile(S("c/music/b.txt"), "beta", 1'600'000'000);
        home.WriteDefinitions({{S("C:\\docs"), S("D:\\docs")}, {S("C:\\music"), S("D:\\m.ZIP")}});
    }
    Finished Tetoru(const QStringList& arguments = {}) const {
        return home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), arguments, Display::None);
    }
    ProgramFolder home;
};

TEST_F(RunStatus, AFailedRunIsLoggedWithItsReasonAndStatusSaysSoUntilAGoodRun) {
    // Nothing ran yet: nothing failed, but nothing is backed up either.
    Finished status = Tetoru({S("--status")});
    EXPECT_EQ(status.exitCode, 0) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains(S("never run"))) << status.out.toStdString();
    EXPECT_EQ(Tetoru({S("--status"), S("--max-age"), S("7")}).exitCode, 1);

    home.WriteFile(S("d/m.ZIP"), "not a zip archive");  // the ZIP entry fails
    ASSERT_EQ(Tetoru().exitCode, 1);
    const QString log = QString::fromUtf8(home.Read(S("c/kibako/Kibako.log")));
    EXPECT_TRUE(log.contains(S("\tTETORU\tok\tC:\\docs\tD:\\docs\t1\t0\t0\t0\t\n")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(S("\tTETORU\tfailed\tC:\\music\tD:\\m.ZIP\t")));
    EXPECT_TRUE(log.contains(S("\tTETORU\trun\t1\t1\tfinished\n")));

    status = Tetoru({S("--status")});
    EXPECT_EQ(status.exitCode, 1);
    const QStringList lines = status.out.split(u'\n');
    ASSERT_GE(lines.size(), 4) << status.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(S("ok "))) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(S("C:\\docs -> D:\\docs")));
    EXPECT_TRUE(lines[1].startsWith(S("failed "))) << lines[1].toStdString();
    // The reason stands under the failed registration, naming the archive.
    EXPECT_TRUE(lines[2].contains(S("D:\\m.ZIP"))) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains(S("TETORU: 2 registrations, 1 failed at their last run")));
    // --status writes nothing: neither the log nor the registrations.
    EXPECT_EQ(QString::fromUtf8(home.Read(S("c/kibako/Kibako.log"))), log);

    home.WriteFile(S("d/m.ZIP"), QByteArray());
    QFile::remove(home.Host(S("d/m.ZIP")));
    ASSERT_EQ(Tetoru().exitCode, 0);
    status = Tetoru({S("--status"), S("--max-age"), S("1")});
    EXPECT_EQ(status.exitCode, 0) << status.out.toStdString();
    EXPECT_TRUE(
        status.out.contains(S("0 failed at their last run, 0 not backed up for more than 1 days")))
        << status.out.toStdString();
}

TEST_F(RunStatus, MaxAgeIsANumberThatGoesWithStatus) {
    EXPECT_EQ(Tetoru({S("--max-age"), S("3")}).exitCode, 64);
    const Finished bad = Tetoru({S("--status"), S("--max-age"), S("soon")});
    EXPECT_EQ(bad.exitCode, 64);
    EXPECT_TRUE(bad.err.contains(S("--max-age takes a number of days"))) << bad.err.toStdString();
    EXPECT_FALSE(home.Exists(S("d/docs")));  // nothing was backed up
}

}  // namespace
