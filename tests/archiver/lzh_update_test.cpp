// Unlha commands end to end, with the archives checked by independent readers.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "archive_test_support.h"
#include "archiver/archiver.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;  // 2020-09-13, an even second

std::vector<archiver::EntryInfo> ListLzh(const fs::path& archive) {
    std::vector<archiver::EntryInfo> entries;
    const archiver::ArchiveHandle handle = archiver::UnlhaOpenArchive(archive.string());
    if (handle == 0) return entries;
    archiver::EntryInfo entry;
    for (int r = archiver::UnlhaFindFirst(handle, "*.*", entry); r == 0;
         r = archiver::UnlhaFindNext(handle, entry)) {
        entries.push_back(entry);
    }
    archiver::UnlhaCloseArchive(handle);
    return entries;
}

std::vector<std::string> Names(const std::vector<archiver::EntryInfo>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

class LzhUpdateTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        source_ = root_ / "src";
        archive_ = root_ / "out" / "backup.lzh";
        fs::create_directories(source_);
        fs::create_directories(archive_.parent_path());
    }

    int Unlha(const std::string& commandLine) {
        std::string output;
        const int code = archiver::Unlha(commandLine, output);
        lastOutput_ = output;
        return code;
    }
    std::string UpdateLine(bool recursive) const {
        return std::string("u ") + (recursive ? "-r2x1a2 " : "") + "\"" + archive_.string() +
               "\" \"" + source_.string() + "\\\"";
    }
    std::string DeleteLine() const {
        return "d -jn \"" + archive_.string() + "\" \"" + source_.string() + "\\\" *.*";
    }

    // lhasa may exit 0 on a damaged header, so its member count is compared too.
    void ExpectLhasaAccepts(std::size_t members) {
        if (!HasTool("lhasa")) return;
        const CommandResult result = RunTool("lhasa t " + Quote(archive_));
        EXPECT_EQ(result.exitCode, 0) << result.output;
        std::size_t count = 0;
        for (std::size_t at = result.output.find("- Tested"); at != std::string::npos;
             at = result.output.find("- Tested", at + 1)) {
            ++count;
        }
        EXPECT_EQ(count, members) << result.output;
    }

    // bsdtar extracts byte-identical files with their times; 7z tests the archive.
    void ExpectPeersExtract(const std::vector<std::string>& files) {
        if (HasTool("bsdtar")) {
            const fs::path out = root_ / "bsdtar-out";
            fs::remove_all(out);
            fs::create_directories(out);
            const CommandResult result =
                RunTool("cd " + Quote(out) + " && bsdtar -xf " + Quote(archive_));
            EXPECT_EQ(result.exitCode, 0) << result.output;
            for (const std::string& file : files) {
                EXPECT_EQ(ReadFile(out / file), ReadFile(source_ / file)) << file;
                EXPECT_EQ(ModifiedTime(out / file), ModifiedTime(source_ / file)) << file;
            }
            EXPECT_EQ(FilesBelow(out), FilesBelow(source_));
        }
        if (HasTool("7z")) {
            const CommandResult result = RunTool("7z t " + Quote(archive_));
            EXPECT_EQ(result.exitCode, 0) << result.output;
        }
    }

    fs::path source_;
    fs::path archive_;
    std::string lastOutput_;
};

TEST_F(LzhUpdateTest, RecursiveUpdateIsReadByEveryPeer) {
    WriteFile(source_ / "readme.txt", SampleText(200000), kTime);
    WriteFile(source_ / "random.bin", RandomBytes(30000), kTime + 2);
    WriteFile(source_ / "empty.txt", "", kTime + 4);
    WriteFile(source_ / "写真" / "日本語の名前.txt", SampleText(5000, 3), kTime + 7);
    WriteFile(source_ / "a" / "b" / "c" / "deep.txt", "deep", kTime + 9);
    WriteFile(source_ / ".hidden", "never stored", kTime);
    WriteFile(source_ / "back\\slash", "never stored", kTime);
    ASSERT_EQ(::symlink("readme.txt", (source_ / "link.txt").c_str()), 0);
    ASSERT_EQ(::symlink("a", (source_ / "folderlink").c_str()), 0);
    fs::remove(source_ / ".hidden");
    WriteFile(source_ / ".hidden", "never stored", kTime);

    // A name with "\" cannot be a member name: everything else is stored, and the update
    // fails naming it.
    ASSERT_EQ(Unlha(UpdateLine(true)), 4) << lastOutput_;
    EXPECT_NE(lastOutput_.find("back\\slash: a name with"), std::string::npos) << lastOutput_;
    const auto entries = ListLzh(archive_);
    EXPECT_EQ(Names(entries),
              (std::vector<std::string>{"a\\b\\c\\deep.txt", "empty.txt", "link.txt", "random.bin",
                                        "readme.txt", "写真\\日本語の名前.txt"}));
    for (const auto& entry : entries) {
        if (entry.name == "readme.txt") {
            EXPECT_EQ(entry.originalSize, 200000u);
            EXPECT_LT(entry.compressedSize, 100000u);
            EXPECT_EQ(entry.ratio, entry.compressedSize * 1000 / 200000);
        }
        if (entry.name == "random.bin") {
            EXPECT_EQ(entry.compressedSize, 30000u);  // stored
        }
    }
    fs::remove(source_ / "back\\slash");
    fs::remove(source_ / "folderlink");
    fs::remove(source_ / ".hidden");
    ExpectLhasaAccepts(6);
    ExpectPeersExtract({"readme.txt", "random.bin", "empty.txt", "写真/日本語の名前.txt",
                        "a/b/c/deep.txt", "link.txt"});
    EXPECT_EQ(Unlha("t \"" + archive_.string() + "\""), 0) << lastOutput_;
}

// Large members that do not compress are stored as soon as that shows; a
// member that compresses after an incompressible start is still compressed.
TEST_F(LzhUpdateTest, LargeIncompressibleMembersAreStoredAndStillRead) {
    WriteFile(source_ / "photo.jpg", RandomBytes(3 << 20, 11), kTime);
    WriteFile(source_ / "mixed.bin", RandomBytes(100000, 12) + SampleText(2 << 20, 13), kTime);
    ASSERT_EQ(Unlha(UpdateLine(false)), 0) << lastOutput_;
    for (const auto& entry : ListLzh(archive_)) {
        if (entry.name == "photo.jpg") {
            EXPECT_EQ(entry.compressedSize, entry.originalSize);
        } else {
            EXPECT_LT(entry.compressedSize, entry.originalSize / 2);
        }
    }
    ExpectLhasaAccepts(2);
    ExpectPeersExtract({"photo.jpg", "mixed.bin"});
    EXPECT_EQ(Unlha("t \"" + archive_.string() + "\""), 0) << lastOutput_;
}

TEST_F(LzhUpdateTest, NamesOutsideCodePage932AreStoredAsUtf8) {
    WriteFile(source_ / "café é.txt", "accent", kTime);
    WriteFile(source_ / "plain.txt", "plain", kTime);
    ASSERT_EQ(Unlha(UpdateLine(false)), 0) << lastOutput_;
    EXPECT_EQ(Names(ListLzh(archive_)), (std::vector<std::string>{"café é.txt", "plain.txt"}));
    ExpectLhasaAccepts(2);
    ExpectPeersExtract({"café é.txt", "plain.txt"});
}

TEST_F(LzhUpdateTest, UpdateReplacesOnlyNewerFilesAndKeepsTheRest) {
    WriteFile(source_ / "keep.txt", "keep", kTime);
    WriteFile(source_ / "change.txt", "old contents", kTime);
    WriteFile(source_ / "sub" / "below.txt", "below", kTime);
    ASSERT_EQ(Unlha(UpdateLine(false)), 0) << lastOutput_;
    EXPECT_EQ(Names(ListLzh(archive_)), (std::vector<std::string>{"change.txt", "keep.txt"}));

    // Same time, other contents: not newer, and the archive is not even rewritten.
    WriteFile(source_ / "keep.txt", "KEEP", kTime);
    const std::string before = ReadFile(archive_);
    const auto inodeBefore = fs::hard_link_count(archive_);
    ASSERT_EQ(Unlha(UpdateLine(false)), 0) << lastOutput_;
    EXPECT_EQ(ReadFile(archive_), before);
    EXPECT_EQ(lastOutput_, "0 added, 0 replaced");
    (void)inodeBefore;

    WriteFile(source_ / "change.txt", "new contents!", kTime + 1);
    ASSERT_EQ(Unlha(UpdateLine(true)), 0) << lastOutput_;
    EXPECT_EQ(lastOutput_, "1 added, 1 replaced");
    fs::remove_all(root_ / "x");
    fs::create_directories(root_ / "x");
    ASSERT_EQ(RunTool("cd " + Quote(root_ / "x") + " && bsdtar -xf " + Quote(archive_)).exitCode,
              0);
    EXPECT_EQ(ReadFile(root_ / "x" / "change.txt"), "new contents!");
    EXPECT_EQ(ReadFile(root_ / "x" / "keep.txt"), "keep");
    EXPECT_EQ(ReadFile(root_ / "x" / "sub" / "below.txt"), "below");
    ExpectLhasaAccepts(3);
}

TEST_F(LzhUpdateTest, DeleteMissingRemovesOnlyMembersWhoseFilesAreGone) {
    WriteFile(source_ / "stay.txt", "stay", kTime);
    WriteFile(source_ / "gone.txt", "gone", kTime);
    WriteFile(source_ / "sub" / "gone too.txt", "gone", kTime);
    WriteFile(source_ / "sub" / "stay too.txt", "stay", kTime);
    ASSERT_EQ(Unlha(UpdateLine(true)), 0) << lastOutput_;
    fs::remove(source_ / "gone.txt");
    fs::remove(source_ / "sub" / "gone too.txt");
    ASSERT_EQ(Unlha(DeleteLine()), 0) << lastOutput_;
    EXPECT_EQ(Names(ListLzh(archive_)),
              (std::vector<std::string>{"stay.txt", "sub\\stay too.txt"}));
    ExpectLhasaAccepts(2);

    // A source folder that is not there deletes nothing.
    const std::string before = ReadFile(archive_);
    fs::rename(source_, root_ / "moved");
    EXPECT_NE(Unlha(DeleteLine()), 0);
    EXPECT_EQ(ReadFile(archive_), before);
}

TEST_F(LzhUpdateTest, EmptyFolderCreatesAnEmptyArchive) {
    ASSERT_EQ(Unlha(UpdateLine(true)), 0) << lastOutput_;
    EXPECT_EQ(ReadFile(archive_), std::string(1, '\0'));
    const archiver::ArchiveHandle handle = archiver::UnlhaOpenArchive(archive_.string());
    ASSERT_NE(handle, 0);
    archiver::EntryInfo entry;
    EXPECT_EQ(archiver::UnlhaFindFirst(handle, "*.*", entry), -1);
    archiver::UnlhaCloseArchive(handle);
}

TEST_F(LzhUpdateTest, ArchiveInsideTheSourceFolderIsNotStoredInItself) {
    archive_ = source_ / "self.lzh";
    WriteFile(source_ / "a.txt", "a", kTime);
    ASSERT_EQ(Unlha(UpdateLine(true)), 0) << lastOutput_;
    ASSERT_EQ(Unlha(UpdateLine(true)), 0) << lastOutput_;
    EXPECT_EQ(Names(ListLzh(archive_)), (std::vector<std::string>{"a.txt"}));
}

TEST_F(LzhUpdateTest, MalformedCommandLinesTouchNothing) {
    WriteFile(source_ / "a.txt", "a", kTime);
    const std::string a = "\"" + archive_.string() + "\"";
    const std::string f = "\"" + source_.string() + "\\\"";
    for (const std::string& line : std::vector<std::string>{
             "", "x " + a + " " + f, "u -q " + a + " " + f, "u " + a,
             "u " + a + " \"" + source_.string() + "\"", "u \"" + archive_.string() + " " + f,
             "d " + a + " " + f, "d -jn " + a, "t -r " + a + " " + f}) {
        EXPECT_NE(Unlha(line), 0) << line;
        EXPECT_FALSE(fs::exists(archive_)) << line;
    }
    // The text ends at the first character of code 0.
    EXPECT_EQ(Unlha("u " + a + " " + f + std::string(1, '\0') + " garbage"), 0) << lastOutput_;
}

TEST_F(LzhUpdateTest, ResolverTranslatesWindowsPaths) {
    WriteFile(source_ / "a.txt", "a", kTime);
    archiver::SetPathResolver([this](const std::string& path) -> std::optional<fs::path> {
        if (path == "C:\\out\\backup.lzh") return archive_;
        if (path == "C:\\src") return source_;
        return std::nullopt;
    });
    const int ok = Unlha("u -r2x1a2 \"C:\\out\\backup.lzh\" \"C:\\src\\\"");
    const int unresolved = Unlha("u \"D:\\nowhere.lzh\" \"C:\\src\\\"");
    const std::size_t listed = ListLzh(fs::path("C:\\out\\backup.lzh")).size();
    archiver::SetPathResolver(nullptr);
    EXPECT_EQ(ok, 0) << lastOutput_;
    EXPECT_NE(unresolved, 0);
    EXPECT_EQ(listed, 1u);
}

// Archives of jlha (header levels 0, 1 and 2; -lh5-, -lh6-, -lh7-) are listed, tested and
// updated; the updated archive passes the peers.
TEST_F(LzhUpdateTest, ArchivesOfJlhaAreListedTestedAndUpdated) {
    if (!HasTool("jlha")) GTEST_SKIP() << "jlha-utils is not installed";
    WriteFile(source_ / "text.txt", SampleText(40000, 5), kTime);
    WriteFile(source_ / "sub" / "more.txt", SampleText(20000, 6), kTime + 10);
    WriteFile(source_ / "noise.bin", RandomBytes(3000, 2), kTime + 20);
    for (const char* method : {"5", "6", "7"}) {
        for (const char* level : {"0", "1", "2"}) {
            SCOPED_TRACE(std::string("-lh") + method + "- level " + level);
            fs::remove(archive_);
            const CommandResult made =
                RunTool("cd " + Quote(source_) + " && jlha c" + level + "o" + method + " " +
                        Quote(archive_) + " text.txt sub/more.txt noise.bin");
            ASSERT_EQ(made.exitCode, 0) << made.output;
            const auto entries = ListLzh(archive_);
            ASSERT_EQ(Names(entries),
                      (std::vector<std::string>{"noise.bin", "sub\\more.txt", "text.txt"}));
            EXPECT_EQ(entries[0].originalSize, 40000u);
            EXPECT_EQ(Unlha("t \"" + archive_.string() + "\""), 0) << lastOutput_;

            WriteFile(source_ / "sub" / "more.txt", SampleText(20000, 7), kTime + 100);
            WriteFile(source_ / "new.txt", "new", kTime);
            ASSERT_EQ(Unlha(UpdateLine(true)), 0) << lastOutput_;
            EXPECT_EQ(lastOutput_, "1 added, 1 replaced");
            ExpectLhasaAccepts(4);
            ExpectPeersExtract({"text.txt", "sub/more.txt", "noise.bin", "new.txt"});
            fs::remove(source_ / "new.txt");
            WriteFile(source_ / "sub" / "more.txt", SampleText(20000, 6), kTime + 10);
        }
    }
}

// Damaged and hostile archives: updating fails and leaves the file as it was.
TEST_F(LzhUpdateTest, DamagedArchivesAreLeftAloneAndListedUpToTheDamage) {
    WriteFile(source_ / "one.txt", SampleText(3000), kTime);
    WriteFile(source_ / "two.txt", SampleText(3000, 2), kTime);
    ASSERT_EQ(Unlha(UpdateLine(false)), 0);
    const std::string good = ReadFile(archive_);
    WriteFile(source_ / "three.txt", "new", kTime);

    std::vector<std::string> damaged;
    damaged.push_back(good.substr(0, good.size() - 100));  // data runs past the end
    std::string badCrc = good;
    badCrc[30] ^= 0x55;  // inside the first header: header CRC fails
    damaged.push_back(badCrc);
    std::string badSize = good;
    badSize[7] = '\xFF';  // packed size far past the end
    badSize[8] = '\xFF';
    damaged.push_back(badSize);
    for (const std::string& bytes : damaged) {
        WriteFile(archive_, bytes);
        EXPECT_NE(Unlha(UpdateLine(false)), 0);
        EXPECT_EQ(ReadFile(archive_), bytes);
        EXPECT_TRUE(HiddenFilesIn(archive_.parent_path()).empty());
        EXPECT_LE(ListLzh(archive_).size(), 1u);
    }
    // A member whose data was changed fails the test command.
    std::string badData = good;
    badData[badData.size() / 2] ^= 0x01;
    WriteFile(archive_, badData);
    EXPECT_NE(Unlha("t \"" + archive_.string() + "\""), 0);
}

// A member named with ".." or an absolute path: listed as stored, never updated, removed by
// the delete command without looking outside the folder.
TEST_F(LzhUpdateTest, HostileNamesAreNeverFollowed) {
    if (!HasTool("jlha")) GTEST_SKIP() << "jlha-utils is not installed";
    WriteFile(root_ / "outside.txt", "outside", kTime);
    WriteFile(source_ / "inside.txt", "inside", kTime);
    const CommandResult made = RunTool("cd " + Quote(source_) + " && jlha c1o5 " + Quote(archive_) +
                                       " inside.txt ../outside.txt");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    const std::string hostile = ReadFile(archive_);
    const auto names = Names(ListLzh(archive_));
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], "..\\outside.txt");

    EXPECT_EQ(Unlha(UpdateLine(false)), 6);
    EXPECT_EQ(ReadFile(archive_), hostile);
    ASSERT_EQ(Unlha(DeleteLine()), 0) << lastOutput_;
    EXPECT_EQ(Names(ListLzh(archive_)), (std::vector<std::string>{"inside.txt"}));
    EXPECT_EQ(ReadFile(root_ / "outside.txt"), "outside");
}

TEST_F(LzhUpdateTest, FullDiskLeavesTheOldArchiveAndNoTemporaryFile) {
    WriteFile(source_ / "small.txt", "small", kTime);
    ASSERT_EQ(Unlha(UpdateLine(false)), 0);
    const std::string before = ReadFile(archive_);
    WriteFile(source_ / "big.bin", RandomBytes(3 << 20), kTime);
    const std::string line = UpdateLine(false);
    // A file-size limit makes writes fail past 1 MB, as a full disk does.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string output;
        ::_exit(archiver::Unlha(line, output) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(ReadFile(archive_), before);
    EXPECT_TRUE(HiddenFilesIn(archive_.parent_path()).empty());
}

TEST_F(LzhUpdateTest, UnreadableSourceFileLeavesTheOldArchive) {
    WriteFile(source_ / "small.txt", "small", kTime);
    ASSERT_EQ(Unlha(UpdateLine(false)), 0);
    const std::string before = ReadFile(archive_);
    // Reading the start of a process's memory fails with an I/O error, even for root.
    ASSERT_EQ(::symlink("/proc/self/mem", (source_ / "unreadable").c_str()), 0);
    EXPECT_EQ(Unlha(UpdateLine(false)), 4) << lastOutput_;
    EXPECT_EQ(ReadFile(archive_), before);
    EXPECT_TRUE(HiddenFilesIn(archive_.parent_path()).empty());
}

}  // namespace
