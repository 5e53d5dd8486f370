#include "util/file_ops.h"
#include "platform/host_path.h"
#include "support/fault_injector.h"
#include "support/recording_messages.h"
#include "support/small_disk.h"
#include "support/temp_drives.h"
#include "support/text.h"
#include "util/folder_tree.h"
#include "util/name_list.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace util;

namespace {

using testing_support::D;
using testing_support::S;

class FileOps : public ::testing::Test {
  protected:
    testing_support::TempDrives drives;
    testing_support::RecordingMessages messages;
};

TEST_F(FileOps, ExistenceTests) {
    drives.WriteFile(S("C:\\DATA\\a.txt"), "a");
    drives.MakeFolder(S("C:\\EMPTY"));
    EXPECT_FALSE(FileExists(platform::DrivePath(QString())));
    EXPECT_FALSE(FileExists(D("C:\\DATA")));
    EXPECT_TRUE(FileExists(D("C:\\data\\*.*")));
    EXPECT_FALSE(FileExists(D("C:\\EMPTY\\*.*")));
    EXPECT_TRUE(FileExists(D("c:\\data\\A.TXT")));
    EXPECT_TRUE(FolderExists(D("C:")));
    EXPECT_TRUE(FolderExists(D("C:\\")));
    EXPECT_TRUE(
        FolderExists(D("Q:")));  // a letter without a drive still "exists", as Windows answers
    EXPECT_FALSE(FolderExists(D("C")));
    EXPECT_TRUE(FolderExists(D("C:\\data")));
    EXPECT_FALSE(FolderExists(D("C:\\DATA\\")));
    EXPECT_FALSE(FolderExists(D("C:\\DATA\\a.txt")));
    EXPECT_FALSE(FolderExists(D("\\\\server\\share")));
}

// One look at the path answers as a search of its parent would: dot names,
// links to folders and files are no folders; other letter case is.
TEST_F(FileOps, FolderExistsAnswersAsASearchWould) {
    drives.MakeFolder(S("C:\\Data\\Sub"));
    drives.MakeFolder(S("C:\\Data\\.hidden"));
    drives.WriteFile(S("C:\\Data\\file"), "f");
    ASSERT_TRUE(QFile::link(drives.Host(S("C:\\Data\\Sub")), drives.Host(S("C:\\Data\\link"))));
    EXPECT_TRUE(FolderExists(D("C:\\DATA\\sub")));
    EXPECT_EQ(ExistingFolder(D("C:\\DATA\\sub")),
              platform::HostPath(drives.Host(S("C:\\Data\\Sub"))));
    EXPECT_TRUE(FolderExists(D("C:\\Data\\S*")));
    EXPECT_TRUE(FolderExists(D("C:\\Data/Sub")));
    for (const char* absent :
         {"C:\\Data\\.hidden", "C:\\Data\\link", "C:\\Data\\file", "C:\\Data\\none", "C:\\Data\\x*",
          "C:\\Data\\Sub\\..", "C:\\Data\\Sub\\"}) {
        EXPECT_FALSE(FolderExists(platform::DrivePath(S(absent)))) << absent;
        EXPECT_FALSE(ExistingFolder(platform::DrivePath(S(absent)))) << absent;
    }
    // A listing of a folder written in other case finds it all the same.
    EXPECT_EQ(ListFolderNames(D("C:\\DATA\\*.*")), S("\x02Sub\x02"));
}

TEST_F(FileOps, NameListsSkipDotNames) {
    drives.WriteFile(S("C:\\D\\a.txt"), "a");
    drives.WriteFile(S("C:\\D\\.profile"), "p");
    drives.MakeFolder(S("C:\\D\\sub"));
    drives.MakeFolder(S("C:\\E"));
    EXPECT_EQ(ListFileNames(D("C:\\D\\*.*")), S("\x02"
                                                "a.txt\x02"));
    EXPECT_EQ(ListFolderNames(D("C:\\D\\*.*")), S("\x02sub\x02"));
    EXPECT_EQ(ListFileNames(D("C:\\E\\*.*")), QString());
    EXPECT_EQ(ListFolderNames(D("C:\\E\\*.*")), QString());
    EXPECT_EQ(SplitNameList(S("\x02"
                              "a\x02"
                              "b\x02")),
              QStringList({"a", "b"}));
    EXPECT_TRUE(SplitNameList(QString()).isEmpty());
}

TEST_F(FileOps, CopyKeepsTimeAndSkipsWhatItMust) {
    drives.WriteFile(S("C:\\src\\a.txt"), "new", 1'600'000'000);
    drives.WriteFile(S("C:\\src\\empty.txt"), "");
    drives.WriteFile(S("C:\\dst\\empty.txt"), "old");
    EXPECT_TRUE(CopyOneFile(D("C:\\src\\a.txt"), D("C:\\dst\\a.txt")).copied);
    EXPECT_EQ(drives.ReadFile(S("C:\\dst\\a.txt")), QByteArray("new"));
    EXPECT_EQ(*ModifiedTimeOf(D("C:\\dst\\a.txt")), 1'600'000'000LL * 1'000'000'000);

    // A zero-length source is never copied; the old target stays.
    EXPECT_FALSE(CopyOneFile(D("C:\\src\\empty.txt"), D("C:\\dst\\empty.txt")).copied);
    EXPECT_EQ(drives.ReadFile(S("C:\\dst\\empty.txt")), QByteArray("old"));
    // The same file under another capitalisation is left alone.
    EXPECT_FALSE(CopyOneFile(D("c:\\src\\a.txt"), D("C:\\SRC\\A.TXT")).copied);
    EXPECT_FALSE(CopyOneFile(D("C:\\src\\missing.txt"), D("C:\\dst\\missing.txt")).copied);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(FileOps, ReadOnlyTargetIsReplaced) {
    drives.WriteFile(S("C:\\src\\a.txt"), "new");
    drives.WriteFile(S("C:\\dst\\a.txt"), "old");
    chmod(QFile::encodeName(drives.Host(S("C:\\dst\\a.txt"))).constData(), 0444);
    EXPECT_TRUE(CopyOneFile(D("C:\\src\\a.txt"), D("C:\\dst\\a.txt")).copied);
    EXPECT_EQ(drives.ReadFile(S("C:\\dst\\a.txt")), QByteArray("new"));
}

TEST_F(FileOps, FailedCopyKeepsTheOldBackupAndNamesTheFile) {
    testing_support::SmallDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small disk here";
    platform::DriveTable table = platform::CurrentDrives();
    table.Map(u'F', platform::DriveType::Fixed, platform::HostPath(disk.Path()));
    platform::SetCurrentDrives(table);
    drives.WriteFile(S("F:\\sub\\big.bin"), QByteArray(8 * 1024, 'o'));
    drives.WriteFile(S("C:\\src\\big.bin"), QByteArray(300 * 1024, 'n'));

    const CopyResult result = CopyOneFile(D("C:\\src\\big.bin"), D("F:\\sub\\big.bin"));
    EXPECT_FALSE(result.copied);
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(drives.ReadFile(S("F:\\sub\\big.bin")), QByteArray(8 * 1024, 'o'));
    EXPECT_TRUE(result.message.endsWith(S("\nファイル：　F:\\sub\\big.bin")));
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(QDir(disk.Path() + "/sub").entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// The copy tells what went wrong in its result and shows nothing itself: the
// caller decides how a person hears of it.
TEST_F(FileOps, FailedCopyIsToldInItsResultNotShown) {
    drives.WriteFile(S("C:\\src\\a.txt"), "new");
    drives.WriteFile(S("C:\\dst\\a.txt"), "old");
    testing_support::FaultInjector faults;
    faults.Fail(platform::sys::Call::Write, S("*/dst/a.txt"), EIO);
    const CopyResult result = CopyOneFile(D("C:\\src\\a.txt"), D("C:\\dst\\a.txt"));
    ASSERT_GT(faults.Injected(), 0);
    EXPECT_TRUE(result.failed);
    EXPECT_FALSE(result.copied);
    EXPECT_TRUE(result.message.endsWith(S("\nファイル：　C:\\dst\\a.txt")))
        << qPrintable(result.message);
    EXPECT_EQ(drives.ReadFile(S("C:\\dst\\a.txt")), QByteArray("old"));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(FileOps, ClearTargetDeletesAndUnprotects) {
    drives.WriteFile(S("C:\\t\\a.txt"), "x");
    chmod(QFile::encodeName(drives.Host(S("C:\\t\\a.txt"))).constData(), 0444);
    EXPECT_TRUE(ClearTarget(D("C:\\t\\a.txt")));
    EXPECT_FALSE(FileExists(D("C:\\t\\a.txt")));
    EXPECT_TRUE(ClearTarget(D("C:\\t\\none.txt")));
}

TEST_F(FileOps, DeletingADriveRootAsksTwice) {
    drives.WriteFile(S("E:\\keep.txt"), "x");
    messages.answers = {Answer::Yes, Answer::No};
    EXPECT_TRUE(DeleteFolderTree(D("E:"), messages).declined);
    EXPECT_TRUE(FileExists(D("E:\\keep.txt")));
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts[0], S("いま削除しようとしているフォルダーは、ドライブE "
                                   "のルート･ディレクトリです\n\n削除してもいいですか？"));
    EXPECT_EQ(messages.texts[1],
              S("このまま続行すると、ドライブ Eの内容は総て削除されてしまいますが、いいですか？"));
    messages.answers = {Answer::No};
    EXPECT_TRUE(DeleteFolderTree(D("E:\\"), messages).declined);
    EXPECT_EQ(messages.texts.size(), 3);
    EXPECT_TRUE(FileExists(D("E:\\keep.txt")));
}

TEST_F(FileOps, DeleteFolderTreeRemovesEverythingButNeverFollowsLinks) {
    drives.WriteFile(S("C:\\outside\\precious.txt"), "keep");
    drives.WriteFile(S("C:\\TEMP\\a.txt"), "x");
    drives.WriteFile(S("C:\\TEMP\\sub\\deeper\\b.txt"), "x");
    chmod(QFile::encodeName(drives.Host(S("C:\\TEMP\\a.txt"))).constData(), 0444);
    const QString link = drives.Host(S("C:\\TEMP\\sub")) + S("/escape");
    ASSERT_EQ(symlink(QFile::encodeName(drives.Host(S("C:\\outside"))).constData(),
                      QFile::encodeName(link).constData()),
              0);
    const TreeDeletion deletion = DeleteFolderTree(D("C:\\TEMP"), messages);
    EXPECT_FALSE(deletion.declined);
    EXPECT_TRUE(deletion.failures.isEmpty());
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_FALSE(FolderExists(D("C:\\TEMP")));
    EXPECT_EQ(drives.ReadFile(S("C:\\outside\\precious.txt")), QByteArray("keep"));
}

TEST_F(FileOps, ProfileAccessGoesThroughTheDriveTable) {
    EXPECT_TRUE(ProfileWrite(D("C:\\Kibako.INI"), S("Options"), S("NameCase"), S(" 2")));
    EXPECT_EQ(ProfileRead(D("c:\\kibako.ini"), S("OPTIONS"), S("namecase")), S("2"));
    EXPECT_FALSE(ProfileWrite(D("Q:\\Kibako.INI"), S("Options"), S("A"), S("1")));
}

}  // namespace
