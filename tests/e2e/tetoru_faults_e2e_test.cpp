// The real tetoru binary under faults it must survive without losing data:
// a definition file that cannot be saved, settings that are not a file.
#include "program_folder.h"
#include "store/definition_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>

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
    // No temporary is left beside them; the run log tells of the run.
    EXPECT_EQ(
        QDir(home.Home()).entryList(QDir::Files | QDir::Hidden),
        QStringList({S("Kibako.Def"), S("Kibako.Def.lock"), S("Kibako.INI"), S("Kibako.log")}));
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

// A sub-folder that can be listed but not entered (mode 644, as after a
// careless "chmod -R 644"), run by an ordinary user with delete-missing on.
TEST_F(TetoruFaults, AFolderThatCannotBeEnteredKeepsItsBackupsAndFailsItsEntry) {
    const QString setpriv = QStandardPaths::findExecutable(S("setpriv"));
    const QString lhasa = QStandardPaths::findExecutable(S("lhasa"));
    if (getuid() == 0 && setpriv.isEmpty()) GTEST_SKIP() << "root needs setpriv to run as a user";
    if (lhasa.isEmpty()) GTEST_SKIP() << "lhasa is not installed";
    home.WriteFile(S("c/src/a.txt"), "a", 1'600'000'000);
    home.WriteFile(S("c/src/sub/b.txt"), "b", 1'600'000'000);
    home.WriteFile(S("c/src2/x.txt"), "x", 1'600'000'000);
    home.WriteFile(S("c/src2/sub/y.txt"), "y", 1'600'000'000);
    store::DefinitionList list;
    for (const auto& [source, destination, mode] :
         {std::tuple{S("C:\\src"), S("D:\\bak"), store::SubFolders::EachAsEntry},
          {S("C:\\src2"), S("D:\\arc.LZH"), store::SubFolders::InOneArchive}}) {
        store::BackupEntry entry;
        entry.sourceFolder = source;
        entry.destination = destination;
        entry.lastBackup = store::BackupTime();
        entry.subFolders = mode;
        entry.deleteMissing = true;
        list.PutEntry(entry);
    }
    home.WriteFile(S("c/kibako/Kibako.Def"), store::DefinitionFileBytes(list.Body()));
    ASSERT_EQ(Run().exitCode, 0);
    ASSERT_EQ(home.Read(S("d/bak/sub/b.txt")), "b");

    QStringList prefix;
    if (getuid() == 0) {
        const QString root = QFileInfo(home.Host(S("c"))).path();
        ASSERT_EQ(QProcess::execute(S("chown"), {S("-R"), S("65534:65534"), root}), 0);
        ASSERT_EQ(chmod(QFile::encodeName(root).constData(), 0755), 0);
        prefix = QStringList{setpriv, S("--reuid=65534"), S("--regid=65534"), S("--clear-groups")};
    }
    home.WriteFile(S("c/src/new.txt"), "new", 1'600'000'000);
    for (const char* folder : {"c/src/sub", "c/src2/sub"}) {
        ASSERT_EQ(chmod(QFile::encodeName(home.Host(S(folder))).constData(), 0644), 0);
    }
    const Finished run = Run(prefix);
    EXPECT_NE(run.exitCode, 0) << run.out.toStdString();
    EXPECT_NE(run.exitCode, -1);
    EXPECT_EQ(home.Read(S("d/bak/sub/b.txt")), "b");
    EXPECT_EQ(home.Read(S("d/bak/new.txt")), "new");
    QProcess listing;
    listing.start(lhasa, {S("l"), home.Host(S("d/arc.LZH"))});
    ASSERT_TRUE(listing.waitForFinished(60'000));
    const QString members = QString::fromUtf8(listing.readAllStandardOutput());
    EXPECT_TRUE(members.contains(S("y.txt"))) << members.toStdString();
    EXPECT_TRUE(members.contains(S("x.txt")));
}

// Makes `depth` nested folders of 100-byte names below `host` and a file in
// the deepest, walking by descriptors: the whole path is longer than any
// single system call accepts.
void MakeDeepFile(const QString& host, int depth) {
    int fd = ::open(QFile::encodeName(host).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    const std::string name(100, 'x');
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    const int file = ::openat(fd, "deep.txt", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::write(file, "deep", 4), 4);
    ::close(file);
    ::close(fd);
}

// Every failed entry says why on standard error, naming the folder, and the
// run's status is 1: a sub-folder whose path is longer than the system takes,
// a source folder that is not there (a plain copy and a ZIP), and a drive
// letter that has no drive.
TEST_F(TetoruFaults, EveryFailedEntrySaysWhy) {
    home.WriteFile(S("c/long/top.txt"), "top");
    MakeDeepFile(home.Host(S("c/long")), 45);
    home.WriteDefinitions({{S("C:\\long"), S("D:\\long")},
                           {S("C:\\missing"), S("D:\\missing")},
                           {S("C:\\missing2"), S("D:\\missing.ZIP")},
                           {S("Q:\\src"), S("D:\\q")}});
    const Finished run = Run();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(S("TETORU: 0 entries backed up, 4 failed")))
        << run.out.toStdString();
    const QStringList reasons = {
        S("TETORU: パスが長すぎます（"), S("フォルダー：　C:\\long\\xxxxxxxxxx"),
        S("TETORU: バックアップ元のフォルダーが見つかりません\n  フォルダー：　C:\\missing\n"),
        S("TETORU: バックアップ元のフォルダーが見つかりません\n  フォルダー：　C:\\missing2\n"),
        S("TETORU: ドライブが割り当てられていません：　Q:\n  フォルダー：　Q:\\src\n")};
    for (const QString& reason : reasons)
        EXPECT_TRUE(run.err.contains(reason)) << reason.toStdString() << "\n"
                                              << run.err.toStdString();
    // What could be copied was, and nothing was made for the missing ones.
    EXPECT_EQ(home.Read(S("d/long/top.txt")), "top");
    EXPECT_FALSE(home.Exists(S("d/missing")));
    EXPECT_FALSE(home.Exists(S("d/missing.ZIP")));
    // The temporary folder's own clean-up cannot reach that deep.
    QProcess::execute(S("rm"), {S("-rf"), home.Host(S("c/long")), home.Host(S("d/long"))});
}

}  // namespace
