// The real tetoru restoring and checking backups it made: a folder copy, an
// LZH and a ZIP of a tree with Japanese names.
#include "program_folder.h"
#include "support/text.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <signal.h>

#include <random>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;
using testing_support::S;

constexpr qint64 kTime = 1'600'000'000;

using Tree = QMap<QString, QPair<QByteArray, qint64>>;

// Relative name -> bytes and modification second of the files below a folder.
Tree TreeOf(const QString& host) {
    Tree tree;
    QDirIterator it(host, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        tree.insert(QDir(host).relativeFilePath(path),
                    {file.readAll(), QFileInfo(path).lastModified().toSecsSinceEpoch()});
    }
    return tree;
}

// Bytes that do not compress, so that the middle of an archive is this file's data.
QByteArray Noise(qsizetype size) {
    std::mt19937 random(11);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

struct Registration {
    const char* source;       // "c/..." below the program folder's parent
    const char* drive;        // its drive form
    const char* destination;  // drive form
};

const Registration kRegistrations[] = {{"c/写真", "C:\\写真", "D:\\控え\\写真"},
                                       {"c/日記", "C:\\日記", "D:\\日記.LZH"},
                                       {"c/音楽", "C:\\音楽", "D:\\音楽.ZIP"}};

class Restore : public ::testing::Test {
  protected:
    void SetUp() override {
        std::vector<std::pair<QString, QString>> definitions;
        for (const Registration& r : kRegistrations) {
            const QString source = S(r.source);
            home.WriteFile(source + S("/一.txt"), "ichi", kTime);
            home.WriteFile(source + S("/二.txt"), Noise(150000), kTime + 2);
            home.WriteFile(source + S("/下/三.bin"), "san", kTime + 4);
            home.WriteFile(source + S("/下/更に下/四.bin"), "yon", kTime + 6);
            definitions.push_back({S(r.drive), S(r.destination)});
        }
        home.WriteDefinitions(definitions);
        home.WriteFile(S("d/控え/.keep"), "");
        ASSERT_EQ(Tetoru({}).exitCode, 0);
        for (const Registration& r : kRegistrations)
            original[r.source] = TreeOf(home.Host(S(r.source)));
    }

    Finished Tetoru(const QStringList& arguments) {
        return home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), arguments, Display::None);
    }

    ProgramFolder home;
    std::map<std::string, Tree> original;
};

TEST_F(Restore,
       DeletedFilesComeBackChangedOnesAreKeptUnlessOverwrittenAndAnotherFolderGetsTheWholeTree) {
    for (const Registration& r : kRegistrations) {
        const QString source = S(r.source);
        QFile::remove(home.Host(source + S("/一.txt")));
        QDir(home.Host(source + S("/下"))).removeRecursively();
        home.WriteFile(source + S("/二.txt"), "changed later", kTime + 500);

        Finished run = Tetoru({S("--restore"), S(r.drive)});
        EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(S("3 files restored, 0 already the same, 1 kept")))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains(S("kept: ") + home.Host(source + S("/二.txt"))));
        EXPECT_EQ(home.Read(source + S("/二.txt")), QByteArray("changed later"));

        // A dry run lists and writes nothing; --overwrite then replaces.
        run = Tetoru({S("--restore"), home.Host(source), S("--dry-run"), S("--overwrite")});
        EXPECT_TRUE(run.out.contains(S("would write: ") + home.Host(source + S("/二.txt"))));
        EXPECT_EQ(home.Read(source + S("/二.txt")), QByteArray("changed later"));
        EXPECT_EQ(Tetoru({S("--restore"), S(r.drive), S("--overwrite")}).exitCode, 0);
        EXPECT_EQ(TreeOf(home.Host(source)), original[r.source]) << r.source;

        // Elsewhere, and only a part of the backup.
        const QString elsewhere = home.Host(S("e/elsewhere/") + source);
        EXPECT_EQ(Tetoru({S("--restore"), S(r.drive), S("--to"), elsewhere}).exitCode, 0);
        EXPECT_EQ(TreeOf(elsewhere), original[r.source]) << r.source;
        const QString part = home.Host(S("e/part/") + source);
        EXPECT_EQ(Tetoru({S("--restore"), S(r.drive) + S("\\下"), S("--to"), part}).exitCode, 0);
        EXPECT_EQ(TreeOf(part).keys(), (QStringList{S("三.bin"), S("更に下/四.bin")}));
    }
    EXPECT_EQ(Tetoru({S("--restore"), S("C:\\どこにもない")}).exitCode, 1);
    EXPECT_EQ(Tetoru({S("--to"), S("C:\\x")}).exitCode, 64);
}

TEST_F(Restore, VerifyFindsEachDifferenceChangesNothingAndPassesAfterAFreshBackup) {
    const QByteArray definitions = home.Read(S("c/kibako/Kibako.Def"));
    Finished run = Tetoru({S("--verify"), S("--content")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(S("VERIFY: C:\\日記 -> D:\\日記.LZH: 4 files match")))
        << run.out.toStdString();

    for (const Registration& r : kRegistrations) {
        const QString source = S(r.source);
        home.WriteFile(source + S("/新.txt"), "new", kTime);
        home.WriteFile(source + S("/一.txt"), "ichi!", kTime + 100);
        home.WriteFile(source + S("/下/三.bin"), "sanxx", kTime - 100);
        home.WriteFile(source + S("/下/更に下/四.bin"), "YON", kTime + 6);
    }
    run = Tetoru({S("--verify")});
    EXPECT_EQ(run.exitCode, 1);
    for (const char* line : {"  missing in the backup: 新.txt", "  older in the backup: 一.txt",
                             "  different size or time: 下\\三.bin"}) {
        EXPECT_EQ(run.out.count(S(line)), 3) << line << run.out.toStdString();
    }
    EXPECT_FALSE(run.out.contains(S("different content")));
    run = Tetoru({S("--verify"), S("--content")});
    EXPECT_EQ(run.out.count(S("  different content: 下\\更に下\\四.bin")), 3)
        << run.out.toStdString();
    EXPECT_EQ(home.Read(S("c/kibako/Kibako.Def")), definitions);

    // A damaged archive member: reported by --verify --content and by a
    // restore, which does not write it.
    QFile lzh(home.Host(S("d/日記.LZH")));
    ASSERT_TRUE(lzh.open(QIODevice::ReadWrite));
    QByteArray bytes = lzh.readAll();
    const qsizetype at = bytes.size() / 2;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x77);
    lzh.seek(0);
    lzh.write(bytes);
    lzh.close();
    run = Tetoru({S("--verify"), S("--content")});
    EXPECT_TRUE(run.out.contains(S("  fails its test: 二.txt"))) << run.out.toStdString();
    const QString elsewhere = home.Host(S("e/damaged"));
    run = Tetoru({S("--restore"), S("C:\\日記"), S("--to"), elsewhere});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.contains(S("failed: ") + elsewhere + S("/二.txt")))
        << run.out.toStdString();
    EXPECT_FALSE(QFile::exists(elsewhere + S("/二.txt")));
    EXPECT_TRUE(QFile::exists(elsewhere + S("/下/三.bin")));

    // A backup does not replace a newer backup nor one of the same size and
    // time: those two sources get their first contents back.
    for (const Registration& r : kRegistrations) {
        home.WriteFile(S(r.source) + S("/下/三.bin"), "san", kTime + 4);
        home.WriteFile(S(r.source) + S("/下/更に下/四.bin"), "yon", kTime + 6);
    }
    QFile::remove(home.Host(S("d/日記.LZH")));
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    run = Tetoru({S("--verify"), S("--content")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
}

// kill -9 at many moments of a restore over existing files: every target is
// the old file or the whole new one.
TEST_F(Restore, AKilledRestoreLeavesEveryTargetOldOrWhole) {
    std::mt19937 random(5);
    QStringList names;
    for (int i = 0; i < 12; ++i) {
        QByteArray bytes(1'500'000, Qt::Uninitialized);
        for (char& byte : bytes) byte = static_cast<char>(random());
        const QString name = S("c/日記/大%1.bin").arg(i);
        home.WriteFile(name, bytes, kTime);
        names.append(name);
    }
    ASSERT_EQ(Tetoru({}).exitCode, 0);
    const Tree whole = TreeOf(home.Host(S("c/日記")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(S("KIBAKO_HOME"), home.Home());
    environment.remove(S("DISPLAY"));
    environment.remove(S("WAYLAND_DISPLAY"));
    environment.remove(S("QT_QPA_PLATFORM"));
    QElapsedTimer budget;
    budget.start();
    int kills = 0;
    for (int round = 0; round < 40 && budget.elapsed() < 30'000; ++round) {
        for (const QString& name : names) home.WriteFile(name, "old", kTime + 900);
        QProcess tetoru;
        tetoru.setProcessEnvironment(environment);
        tetoru.start(e2e::BuiltProgram(S("src/tetoru/tetoru")),
                     {S("--restore"), S("C:\\日記"), S("--overwrite")});
        ASSERT_TRUE(tetoru.waitForStarted());
        QThread::usleep(std::uniform_int_distribution<int>(2'000, 250'000)(random));
        if (::kill(static_cast<pid_t>(tetoru.processId()), SIGKILL) == 0) ++kills;
        tetoru.waitForFinished();
        const Tree now = TreeOf(home.Host(S("c/日記")));
        for (const QString& name : names) {
            const QString key = QFileInfo(name).fileName();
            const QByteArray bytes = now.value(key).first;
            EXPECT_TRUE(bytes == "old" || now.value(key) == whole.value(key)) << key.toStdString();
        }
    }
    EXPECT_GT(kills, 0);
    // A finished restore afterwards leaves the whole tree and no temporary.
    ASSERT_EQ(Tetoru({S("--restore"), S("C:\\日記"), S("--overwrite")}).exitCode, 0);
    EXPECT_EQ(TreeOf(home.Host(S("c/日記"))), whole);
}

}  // namespace
