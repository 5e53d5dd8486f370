// The options of the real kibako and tetoru programs, and the program folder
// they report.
#include "program_folder.h"
#include "support/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;

using testing_support::S;

const QString kTetoru = S("src/tetoru/tetoru");
const QString kKibako = S("src/catalog/kibako");

QString FolderLine(const QString& help) {
    return help.section(S("Program folder: "), 1).section(u'\n', 0, 0);
}

class Options : public ::testing::TestWithParam<QString> {
  protected:
    Finished Run(const QStringList& arguments) {
        return home.Run(e2e::BuiltProgram(GetParam()), arguments, Display::None);
    }
    ProgramFolder home;
};

TEST_P(Options, HelpAndVersionNeedNoDisplayAndTouchNothing) {
    const QString name = QFileInfo(GetParam()).fileName();
    const Finished help = Run({S("--help")});
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith(S("usage: ") + name + S(" [OPTION]... [DEFINITION-FILE]\n")));
    EXPECT_EQ(FolderLine(help.out), home.Home());
    for (const char* part : {"KIBAKO_HOME", "XDG_DATA_HOME", "~/.local/share/kibako",
                             "Exit status:", "64  the command line cannot be read"}) {
        EXPECT_TRUE(help.out.contains(S(part))) << part;
    }
    const Finished version = Run({S("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, name + S(" (Kibako) 1.7\n"));
    EXPECT_EQ(QDir(home.Home()).entryList(QDir::Files), QStringList{S("Kibako.INI")});
}

TEST_P(Options, AnUnknownOptionIsAUsageError) {
    home.WriteDefinitions({{S("C:\\src"), S("D:\\bak")}});
    home.WriteFile(S("c/src/a.txt"), "alpha");
    for (const QStringList& arguments :
         {QStringList{S("--bogus")}, QStringList{S("-x"), S("C:\\kibako\\Kibako.Def")}}) {
        const Finished run = Run(arguments);
        EXPECT_EQ(run.exitCode, 64);
        EXPECT_TRUE(run.err.contains(S("unknown option '") + arguments.first() + u'\''))
            << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(S("usage: ")));
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(home.Exists(S("d/bak")));
}

INSTANTIATE_TEST_SUITE_P(Programs, Options, ::testing::Values(kTetoru, kKibako),
                         [](const auto& param) {
                             return QFileInfo(param.param).fileName().toStdString();
                         });

// Two programs side by side in a folder of their own, as an installed or a
// portable copy has them: without KIBAKO_HOME both use that folder when it
// can be written.
TEST(ProgramFolderOfBothPrograms, TheyAgreeOnTheirFolder) {
    QTemporaryDir dir(qEnvironmentVariable("KIBAKO_BUILD_DIR") + S("/bin-XXXXXX"));
    ASSERT_TRUE(dir.isValid());
    QStringList outputs;
    for (const QString& program : {kTetoru, kKibako}) {
        const QString source = e2e::BuiltProgram(program);
        const QString target = dir.filePath(QFileInfo(program).fileName());
        // A hard link keeps the test cheap; a copy does where links cannot be made.
        if (::link(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) !=
            0) {
            ASSERT_TRUE(QFile::copy(source, target));
        }
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(S("KIBAKO_HOME"));
        environment.insert(S("XDG_DATA_HOME"), dir.filePath(S("data")));
        process.setProcessEnvironment(environment);
        process.start(target, {S("--help")});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0);
        outputs << FolderLine(QString::fromUtf8(process.readAllStandardOutput()));
    }
    EXPECT_EQ(outputs, QStringList({dir.path(), dir.path()}));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(S("data"))));
}

}  // namespace
