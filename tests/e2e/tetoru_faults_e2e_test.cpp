// The real tetoru binary under faults it must survive without losing data:
// a definition file that cannot be saved, settings that are not a file.
#include "program_folder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;

QString S(const char* text) { return QString::fromUtf8(text); }

class TetoruFaults : public ::testing::Test {
  protected:
    Finished Run(const QStringList& prefix = {}) {
        return home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), {}, Display::None, prefix);
    }
    ProgramFolder home;
};

// Files may grow to 20 KB only (SIGXFSZ ignored, so writes fail with EFBIG):
// the copies fit, the rewritten definition file does not.
TEST_F(TetoruFaults, ADefinitionFileThatCannotBeSavedKeepsItsOldContentAndFailsTheRun) {
    std::vector<std::pair<QString, QString>> entries;
    for (int i = 0; i < 100; ++i) {
        const QString name = S("src%1_").arg(i, 3, 10, QChar(u'0')) + QString(150, u'x');
        home.WriteFile(S("c/") + name + S("/f.txt"), "data", 1'600'000'000);
        entries.emplace_back(S("C:\\") + name, S("D:\\") + name);
    }
    home.WriteDefinitions(entries);
    const QByteArray before = home.Read(S("c/kibako/Kibako.Def"));
    ASSERT_GT(before.size(), 30'000);
    const Finished run =
        Run({S("sh"), S("-c"), S("trap '' XFSZ; ulimit -f 40; exec \"$0\" \"$@\"")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.exitCode, -1) << "killed instead of failing cleanly";
    EXPECT_TRUE(run.err.contains(S("Kibako.Def"))) << run.err.toStdString();
    EXPECT_EQ(home.Read(S("c/kibako/Kibako.Def")), before);
    EXPECT_EQ(QDir(home.Home()).entryList(QDir::Files | QDir::Hidden),
              QStringList({S("Kibako.Def"), S("Kibako.INI")}));
    EXPECT_EQ(home.Read(S("d/") + entries.front().second.mid(3) + S("/f.txt")), "data");
}

TEST_F(TetoruFaults, SettingsOrDefinitionsThatAreNotFilesAreRefusedAtOnce) {
    home.WriteFile(S("c/src/a.txt"), "a");
    home.WriteDefinitions({{S("C:\\src"), S("D:\\bak")}});
    const QByteArray definitions = QFile::encodeName(home.Host(S("c/kibako/Kibako.Def")));
    ASSERT_EQ(unlink(definitions.constData()), 0);
    ASSERT_EQ(mkfifo(definitions.constData(), 0600), 0);
    Finished run = Run();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.exitCode, -1);
    EXPECT_TRUE(run.err.contains(S("Kibako.Def"))) << run.err.toStdString();
    EXPECT_FALSE(home.Exists(S("d/bak")));

    const QByteArray settings = QFile::encodeName(home.Host(S("c/kibako/Kibako.INI")));
    ASSERT_EQ(unlink(settings.constData()), 0);
    ASSERT_EQ(mkfifo(settings.constData(), 0600), 0);
    run = Run();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.exitCode, -1);
    EXPECT_TRUE(run.err.contains(S("Kibako.INI"))) << run.err.toStdString();
}

}  // namespace
