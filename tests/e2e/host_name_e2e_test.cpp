// The real tetoru on a plain backup of files whose names are not UTF-8: a
// Shift_JIS name, a 0xFF name and a UTF-8 twin that reads the same in
// Japanese are backed up, updated, deleted, verified and restored by their
// bytes; the exit status is 0 only when all of it worked.
#include "program_folder.h"
#include "store/definition_file.h"
#include "store/definition_list.h"
#include "support/text.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using e2e::Display;
using e2e::Finished;
using testing_support::S;

constexpr qint64 kTime = 1'600'000'000;
const QByteArray kShiftJis("\x83\x65\x83\x58\x83\x67.txt");  // テスト.txt in Shift_JIS
const QByteArray kRaw("\xFF.txt");
const QByteArray kTwin = QStringLiteral("テスト.txt").toUtf8();
const QByteArray kShiftJisFolder("\x8E\xCA\x90\x5E");  // 写真 in Shift_JIS

void WriteRaw(const QByteArray& path, const QByteArray& content, qint64 seconds) {
    mkdir(path.left(path.lastIndexOf('/')).constData(), 0777);
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    futimens(fd, times);
    close(fd);
}

// Relative name bytes -> content, read through the system calls alone.
std::map<QByteArray, QByteArray> TreeOf(const QByteArray& folder, const QByteArray& below = {}) {
    std::map<QByteArray, QByteArray> tree;
    DIR* dir = opendir((below.isEmpty() ? folder : folder + '/' + below).constData());
    if (!dir) return tree;
    while (const dirent* item = readdir(dir)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..") continue;
        const QByteArray relative = below.isEmpty() ? name : below + '/' + name;
        struct stat st;
        lstat((folder + '/' + relative).constData(), &st);
        if (S_ISDIR(st.st_mode)) {
            tree.merge(TreeOf(folder, relative));
            continue;
        }
        QFile file;
        file.open(open((folder + '/' + relative).constData(), O_RDONLY | O_CLOEXEC),
                  QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        tree[relative] = file.readAll();
    }
    closedir(dir);
    return tree;
}

class HostNames : public ::testing::Test {
  protected:
    void SetUp() override {
        source = QFile::encodeName(home.Host(S("c/src")));
        backup = QFile::encodeName(home.Host(S("d/bak")));
        WriteRaw(source + '/' + kShiftJis, "shift_jis", kTime);
        WriteRaw(source + '/' + kRaw, "raw", kTime);
        WriteRaw(source + '/' + kTwin, "twin", kTime);
        WriteRaw(source + '/' + kShiftJisFolder + "/inner.txt", "inner", kTime);
        store::DefinitionList list;
        store::BackupEntry entry;
        entry.sourceFolder = S("C:\\src");
        entry.destination = S("D:\\bak");
        entry.lastBackup = store::BackupTime();
        entry.subFolders = store::SubFolders::EachAsEntry;
        entry.deleteMissing = true;
        list.PutEntry(entry);
        home.WriteFile(S("c/kibako/Kibako.Def"), store::DefinitionFileBytes(list.Body()));
    }
    // QTemporaryDir cannot remove names that are not UTF-8.
    void TearDown() override {
        for (const char* folder : {"c/src", "d/bak"})
            std::filesystem::remove_all(QFile::encodeName(home.Host(S(folder))).toStdString());
    }
    Finished Tetoru(const QStringList& arguments = {}) {
        return home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), arguments, Display::None);
    }

    e2e::ProgramFolder home;
    QByteArray source;
    QByteArray backup;
};

TEST_F(HostNames, AreBackedUpUpdatedDeletedVerifiedAndRestoredByTheirBytes) {
    Finished run = Tetoru();
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(S("C:\\src -> D:\\bak: 4 files backed up")))
        << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(S("passed over"))) << run.out.toStdString();
    EXPECT_EQ(TreeOf(backup), TreeOf(source));
    EXPECT_EQ(TreeOf(backup).size(), 4u);

    WriteRaw(source + '/' + kShiftJis, "shift_jis, longer", kTime + 10);
    ASSERT_EQ(unlink((source + '/' + kRaw).constData()), 0);
    run = Tetoru();
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(TreeOf(backup), TreeOf(source));
    EXPECT_EQ(TreeOf(backup).count(kRaw), 0u);
    EXPECT_EQ(TreeOf(backup)[kTwin], "twin");

    run = Tetoru({S("--verify"), S("--content")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();

    const auto before = TreeOf(source);
    ASSERT_EQ(unlink((source + '/' + kShiftJis).constData()), 0);
    ASSERT_EQ(unlink((source + '/' + kShiftJisFolder + "/inner.txt").constData()), 0);
    run = Tetoru({S("--restore"), S("C:\\src")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(TreeOf(source), before);
}

// A name the backup's Windows form cannot hold fails the entry; standard
// error names the file with its bytes; the rest is backed up.
TEST_F(HostNames, ANameWithAColonFailsTheEntryNamingIt) {
    WriteRaw(source + "/a:b\x83.txt", "colon", kTime);
    const Finished run = Tetoru();
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.exitCode, -1);
    EXPECT_TRUE(run.err.contains(S("/a:b?.txt [61 3A 62 83 2E 74 78 74]")))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(S("0 entries backed up, 1 failed"))) << run.out.toStdString();
    EXPECT_EQ(TreeOf(backup).size(), 4u);
}

}  // namespace
