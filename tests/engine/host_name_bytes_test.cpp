// Plain folder copies of files whose names are not UTF-8 (Shift_JIS from an
// old disk, a byte no code page reads): backed up under the same bytes,
// updated, deleted with their source, verified and restored, beside a twin
// whose valid UTF-8 name reads the same in Japanese.
#include "engine/backup_verify.h"
#include "engine/folder_copy.h"
#include "engine/restore_plan.h"
#include "engine/restore_run.h"
#include "engine_fixture.h"
#include "platform/host_name.h"
#include "store/definition_list.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

using namespace testing_support;

namespace {

constexpr qint64 kT = 1'700'000'000;
const QByteArray kShiftJis("\x83\x65\x83\x58\x83\x67.txt");  // テスト.txt in Shift_JIS
const QByteArray kRaw("\xFF.txt");
const QByteArray kTwin = QStringLiteral("テスト.txt").toUtf8();
const QByteArray kShiftJisFolder("\x8E\xCA\x90\x5E");  // 写真 in Shift_JIS

QByteArray Bytes(const QString& hostPath) { return QFile::encodeName(hostPath); }

void WriteRaw(const QByteArray& path, const QByteArray& content, qint64 seconds) {
    const qsizetype slash = path.lastIndexOf('/');
    mkdir(path.left(slash).constData(), 0777);
    const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path.toHex().constData();
    ASSERT_EQ(write(fd, content.constData(), static_cast<size_t>(content.size())), content.size());
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    futimens(fd, times);
    close(fd);
}

// Relative name bytes -> content of every file below a host folder, read
// through the system calls alone.
std::map<QByteArray, QByteArray> TreeOf(const QByteArray& folder, const QByteArray& below = {}) {
    std::map<QByteArray, QByteArray> tree;
    const QByteArray here = below.isEmpty() ? folder : folder + '/' + below;
    DIR* dir = opendir(here.constData());
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
        const int fd = open((folder + '/' + relative).constData(), O_RDONLY | O_CLOEXEC);
        file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        tree[relative] = file.readAll();
    }
    closedir(dir);
    return tree;
}

class HostNameBytes : public EngineTest {
  protected:
    void SetUp() override {
        drives.Map(u'D', platform::DriveType::Fixed);
        source = Bytes(drives.Host(S("C:\\src")));
        backup = Bytes(drives.Host(S("D:\\dst")));
        entry.sourceFolder = S("C:\\src");
        entry.destination = S("D:\\dst");
        entry.subFolders = store::SubFolders::InOneArchive;
        entry.deleteMissing = true;
        WriteRaw(source + '/' + kShiftJis, "shift_jis", kT);
        WriteRaw(source + '/' + kRaw, "raw", kT);
        WriteRaw(source + '/' + kTwin, "twin", kT);
        WriteRaw(source + '/' + kShiftJisFolder + "/inner.txt", "inner", kT);
    }
    // QTemporaryDir cannot remove names that are not UTF-8.
    void TearDown() override { std::filesystem::remove_all(Bytes(drives.Root()).toStdString()); }
    bool Copy() {
        return engine::CopyFolder(engine, platform::DrivePath(entry.sourceFolder),
                                  platform::DrivePath(entry.destination), true, true);
    }

    QByteArray source;
    QByteArray backup;
    store::BackupEntry entry;
};

TEST_F(HostNameBytes, AreBackedUpUpdatedDeletedVerifiedAndRestoredByTheirBytes) {
    ASSERT_TRUE(Copy()) << ui.calls.join(u'\n').toStdString();
    EXPECT_EQ(TreeOf(backup), TreeOf(source));
    EXPECT_EQ(TreeOf(backup).size(), 4u);
    EXPECT_EQ(engine.Counts().copied, 4);
    EXPECT_TRUE(ui.calls.filter(S("message")).isEmpty()) << ui.calls.join(u'\n').toStdString();
    EXPECT_TRUE(engine::VerifyRegistration(engine, entry, {true}).Matches());

    // A newer Shift_JIS file replaces its copy, never its UTF-8 twin's.
    WriteRaw(source + '/' + kShiftJis, "shift_jis, longer", kT + 10);
    ASSERT_TRUE(Copy());
    EXPECT_EQ(engine.Counts().replaced, 1);
    EXPECT_EQ(TreeOf(backup), TreeOf(source));

    // A file gone from the source goes from the backup; the rest stays.
    ASSERT_EQ(unlink((source + '/' + kRaw).constData()), 0);
    ASSERT_TRUE(Copy());
    EXPECT_EQ(engine.Counts().deleted, 1);
    EXPECT_EQ(TreeOf(backup), TreeOf(source));
    EXPECT_EQ(TreeOf(backup).count(kTwin), 1u);

    // A changed copy is told apart by its name's bytes.
    WriteRaw(backup + '/' + kShiftJis, "shift_jis, damaged", kT + 10);
    const engine::VerifyResult verified = engine::VerifyRegistration(engine, entry, {true});
    ASSERT_EQ(verified.differences.size(), 1u);
    EXPECT_EQ(platform::HostBytes(verified.differences.front().name), kShiftJis);
    WriteRaw(backup + '/' + kShiftJis, "shift_jis, longer", kT + 10);

    // Restored into another folder, and over the source's lost files.
    const QString elsewhere = drives.Host(S("C:\\restored"));
    engine::RestoreRequest request{
        entry, platform::DrivePath(entry.destination), platform::HostPath(elsewhere), {}, {}};
    const engine::RestorePlan plan = engine::PlanRestore(request);
    ASSERT_TRUE(plan.readable);
    EXPECT_EQ(plan.items.size(), 3u);
    const engine::RestoreSummary summary =
        engine::ApplyRestorePlan(engine, plan, {engine::DifferingTarget::Ask, nullptr, false});
    EXPECT_TRUE(summary.Clean()) << summary.failed.join(u'\n').toStdString();
    EXPECT_EQ(summary.written, 3);
    EXPECT_EQ(TreeOf(Bytes(elsewhere)), TreeOf(source));
}

// A name the Windows form cannot write ("\" or ":") is not backed up: the
// entry fails and the message names the file.
TEST_F(HostNameBytes, ANameThatCannotBeWrittenFailsTheEntryNamingIt) {
    WriteRaw(source + "/a:b\x83.txt", "colon", kT);
    EXPECT_FALSE(Copy());
    const QStringList messages = ui.calls.filter(S("message"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.front().contains(S("バックアップできません")));
    EXPECT_TRUE(messages.front().contains(S("/a:b?.txt [61 3A 62 83 2E 74 78 74]")))
        << messages.front().toStdString();
    EXPECT_EQ(engine.Counts().failed, 1);
    // Everything else was backed up all the same.
    EXPECT_EQ(TreeOf(backup).size(), 4u);
}

// The definition file is code page 932 text: a path that holds bytes that
// are not UTF-8 is refused, never written as something that reads back as
// another folder.
TEST(HostNameRegistration, APathHoldingEscapedBytesIsRefused) {
    store::DefinitionList list;
    store::BackupEntry entry;
    entry.sourceFolder = QStringLiteral("C:\\old\\") + platform::HostText(kShiftJis);
    entry.destination = S("D:\\backup");
    EXPECT_FALSE(list.PutEntry(entry));
    entry.sourceFolder = S("C:\\old");
    entry.destination = S("D:\\") + platform::HostText(kShiftJisFolder);
    EXPECT_FALSE(list.PutEntry(entry));
    entry.destination = S("D:\\写真");
    EXPECT_TRUE(list.PutEntry(entry));
}

}  // namespace
