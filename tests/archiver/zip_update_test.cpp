// Zip commands and ZIP listings, with the archives checked by unzip and zipinfo and read
// from archives made by zip and bsdtar.
#include <gtest/gtest.h>
#include <unistd.h>

#include "archive_test_support.h"
#include "archiver/archiver.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;

std::vector<archiver::EntryInfo> ListZip(const fs::path& archive) {
    std::vector<archiver::EntryInfo> entries;
    const archiver::ArchiveHandle handle = archiver::UnZipOpenArchive(archive.string());
    if (handle == 0) return entries;
    archiver::EntryInfo entry;
    for (int r = archiver::UnZipFindFirst(handle, "*.*", entry); r == 0;
         r = archiver::UnZipFindNext(handle, entry)) {
        entries.push_back(entry);
    }
    archiver::UnZipCloseArchive(handle);
    return entries;
}

std::vector<std::string> Names(const std::vector<archiver::EntryInfo>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

// The language-encoding flag (bit 11) of the central-directory entry with this name.
bool CentralEntryHasUtf8Flag(const std::string& zip, const std::string& name) {
    const std::string signature("PK\x01\x02", 4);
    for (std::size_t at = zip.find(signature); at != std::string::npos;
         at = zip.find(signature, at + 1)) {
        if (at + 46 > zip.size()) break;
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(zip[at + i]); };
        const std::size_t nameLength = byte(28) | (byte(29) << 8);
        if (zip.compare(at + 46, nameLength, name) == 0) return (byte(9) & 0x08) != 0;
    }
    return false;
}

class ZipUpdateTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        source_ = root_ / "src";
        archive_ = root_ / "out" / "backup.zip";
        fs::create_directories(source_);
        fs::create_directories(archive_.parent_path());
    }
    int Zip(const std::string& switchWord) {
        std::string output;
        const int code = archiver::Zip(
            switchWord + " \"" + archive_.string() + "\" \"" + source_.string() + "\\\" *.*",
            output);
        lastOutput_ = output;
        return code;
    }
    void ExpectZipToolsAccept() {
        const CommandResult test = RunTool("unzip -t " + Quote(archive_));
        EXPECT_EQ(test.exitCode, 0) << test.output;
        const CommandResult info = RunTool("zipinfo " + Quote(archive_));
        EXPECT_EQ(info.exitCode, 0) << info.output;
    }
    void ExpectUnzipExtracts(const std::vector<std::string>& files) {
        const fs::path out = root_ / "unzip-out";
        fs::remove_all(out);
        fs::create_directories(out);
        const CommandResult result = RunTool("unzip -q " + Quote(archive_) + " -d " + Quote(out));
        EXPECT_EQ(result.exitCode, 0) << result.output;
        for (const std::string& file : files) {
            EXPECT_EQ(ReadFile(out / file), ReadFile(source_ / file)) << file;
            EXPECT_EQ(ModifiedTime(out / file), ModifiedTime(source_ / file)) << file;
        }
    }

    fs::path source_;
    fs::path archive_;
    std::string lastOutput_;
};

TEST_F(ZipUpdateTest, SwitchWordsChooseRecursionAndUpdating) {
    WriteFile(source_ / "top.txt", SampleText(50000), kTime);
    WriteFile(source_ / "日本語.txt", "名前", kTime + 1);
    WriteFile(source_ / "sub" / "below.txt", "below", kTime + 3);
    ASSERT_EQ(Zip("-"), 0) << lastOutput_;
    EXPECT_EQ(Names(ListZip(archive_)), (std::vector<std::string>{"top.txt", "日本語.txt"}));
    ExpectZipToolsAccept();

    ASSERT_EQ(Zip("-ur"), 0) << lastOutput_;
    EXPECT_EQ(lastOutput_, "1 added, 0 replaced");
    const auto entries = ListZip(archive_);
    EXPECT_EQ(Names(entries),
              (std::vector<std::string>{"sub\\below.txt", "top.txt", "日本語.txt"}));
    for (const auto& entry : entries) {
        if (entry.name == "top.txt") {
            EXPECT_EQ(entry.originalSize, 50000u);
            EXPECT_LT(entry.compressedSize, 25000u);
        }
    }
    ExpectZipToolsAccept();
    ExpectUnzipExtracts({"top.txt", "日本語.txt", "sub/below.txt"});
    EXPECT_TRUE(CentralEntryHasUtf8Flag(ReadFile(archive_), "日本語.txt"));

    // -u with unchanged files rewrites nothing; a newer file is replaced.
    const std::string before = ReadFile(archive_);
    WriteFile(source_ / "top.txt", SampleText(50000, 2), kTime);
    ASSERT_EQ(Zip("-u"), 0) << lastOutput_;
    EXPECT_EQ(ReadFile(archive_), before);
    WriteFile(source_ / "top.txt", "changed", kTime + 60);
    ASSERT_EQ(Zip("-ur"), 0) << lastOutput_;
    EXPECT_EQ(lastOutput_, "0 added, 1 replaced");
    // Without -u every file is written again.
    ASSERT_EQ(Zip("-r"), 0) << lastOutput_;
    EXPECT_EQ(lastOutput_, "0 added, 3 replaced");
    ExpectZipToolsAccept();
    ExpectUnzipExtracts({"top.txt", "日本語.txt", "sub/below.txt"});
}

TEST_F(ZipUpdateTest, EmptyFolderStillCreatesAnArchive) {
    ASSERT_EQ(Zip("-r"), 0) << lastOutput_;
    ASSERT_TRUE(fs::exists(archive_));
    EXPECT_TRUE(ListZip(archive_).empty());
    EXPECT_NE(archiver::UnZipOpenArchive(archive_.string()), 0);
}

TEST_F(ZipUpdateTest, ArchivesOfZipAndBsdtarAreListedAndUpdated) {
    WriteFile(source_ / "a.txt", SampleText(3000), kTime);
    WriteFile(source_ / "sub" / "b.txt", "b", kTime);
    for (const std::string& maker :
         {std::string("zip -qr"), std::string("bsdtar --format zip -cf")}) {
        SCOPED_TRACE(maker);
        fs::remove(archive_);
        const CommandResult made =
            RunTool("cd " + Quote(source_) + " && " + maker + " " + Quote(archive_) + " a.txt sub");
        ASSERT_EQ(made.exitCode, 0) << made.output;
        const auto names = Names(ListZip(archive_));
        EXPECT_NE(std::find(names.begin(), names.end(), "sub\\b.txt"), names.end());
        WriteFile(source_ / "a.txt", "newer", kTime + 10);
        ASSERT_EQ(Zip("-ur"), 0) << lastOutput_;
        EXPECT_EQ(lastOutput_, "0 added, 1 replaced");
        ExpectZipToolsAccept();
        ExpectUnzipExtracts({"a.txt", "sub/b.txt"});
        WriteFile(source_ / "a.txt", SampleText(3000), kTime);
    }
}

// A legacy archive with CP932 names and no UTF-8 flag: the names are decoded from their raw
// bytes, and updating replaces the member instead of adding a second one.
TEST_F(ZipUpdateTest, LegacyCp932NamesAreMatchedByTheirRawBytes) {
    const fs::path legacy = root_ / "legacy";
    fs::create_directories(legacy);
    // "写真.txt" in CP932.
    const std::string cp932Name = "\x8E\xCA\x90\x5E.txt";
    WriteFile(legacy / cp932Name, "old", kTime);
    const CommandResult made = RunTool("cd " + Quote(legacy) + " && LC_ALL=C zip -q " +
                                       Quote(archive_) + " " + Quote(cp932Name));
    ASSERT_EQ(made.exitCode, 0) << made.output;
    EXPECT_EQ(Names(ListZip(archive_)), (std::vector<std::string>{"写真.txt"}));

    WriteFile(source_ / "写真.txt", "new", kTime + 10);
    ASSERT_EQ(Zip("-u"), 0) << lastOutput_;
    EXPECT_EQ(lastOutput_, "0 added, 1 replaced");
    const auto entries = ListZip(archive_);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].originalSize, 3u);
    ExpectZipToolsAccept();
}

TEST_F(ZipUpdateTest, FailuresLeaveTheOldArchive) {
    WriteFile(source_ / "a.txt", "a", kTime);
    ASSERT_EQ(Zip("-"), 0) << lastOutput_;
    const std::string before = ReadFile(archive_);
    ASSERT_EQ(::symlink("/proc/self/mem", (source_ / "unreadable").c_str()), 0);
    EXPECT_NE(Zip("-u"), 0) << lastOutput_;
    EXPECT_EQ(ReadFile(archive_), before);
    EXPECT_EQ(FilesBelow(archive_.parent_path()), (std::vector<std::string>{"backup.zip"}));
    fs::remove(source_ / "unreadable");

    // A damaged archive is not updated.
    WriteFile(archive_, before.substr(0, before.size() - 10));
    WriteFile(source_ / "b.txt", "b", kTime);
    EXPECT_NE(Zip("-u"), 0);
    EXPECT_EQ(ReadFile(archive_), before.substr(0, before.size() - 10));
    EXPECT_EQ(archiver::UnZipOpenArchive(archive_.string()), 0);

    // Unknown switches touch nothing.
    fs::remove(archive_);
    for (const char* word : {"-x", "-uu -r", "u", "-rq"}) {
        EXPECT_NE(Zip(word), 0) << word;
        EXPECT_FALSE(fs::exists(archive_)) << word;
    }
}

}  // namespace
