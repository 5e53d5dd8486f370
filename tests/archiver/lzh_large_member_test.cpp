// A member over 4 GB among small ones, checked by the independent readers. It takes about a
// minute and 4 GB of sparse file, so it runs only with KIBAKO_LARGE_TESTS=1.
#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "archive_test_support.h"
#include "archiver/archiver.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;
constexpr std::uint64_t kBigSize = (std::uint64_t{4} << 30) + 5;

class LzhLargeMemberTest : public TempFolderTest {
  protected:
    void SetUp() override {
        const char* enabled = std::getenv("KIBAKO_LARGE_TESTS");
        if (enabled == nullptr || std::string(enabled) != "1") {
            GTEST_SKIP() << "a member over 4 GB takes about a minute: set KIBAKO_LARGE_TESTS=1";
        }
        TempFolderTest::SetUp();
        struct statvfs space {};
        if (::statvfs(root_.c_str(), &space) == 0 &&
            std::uint64_t{space.f_bavail} * space.f_frsize < (std::uint64_t{1} << 30)) {
            GTEST_SKIP() << "less than 1 GB free in " << root_;
        }
    }
};

// The big member is written with the 64-bit size extension (the 32-bit fields hold the low
// bits, as other writers do) and placed after the others: bsdtar and this library read it
// whole; lhasa and 7-Zip, which know only 32-bit sizes, still read every other member.
TEST_F(LzhLargeMemberTest, MemberOver4GbIsReadByPeersAndOthersAreNotLost) {
    const fs::path source = root_ / "src";
    const fs::path archive = root_ / "big.lzh";
    WriteFile(source / "a.txt", "first small file", kTime);
    WriteFile(source / "big.bin", "head", kTime);
    ASSERT_EQ(::truncate((source / "big.bin").c_str(), static_cast<off_t>(kBigSize - 5)), 0);
    {
        std::ofstream tail(source / "big.bin", std::ios::binary | std::ios::app);
        tail << "tail!";
    }
    SetModifiedTime(source / "big.bin", kTime);
    WriteFile(source / "z.txt", "last small file", kTime);
    std::string output;
    ASSERT_EQ(
        archiver::Unlha("u \"" + archive.string() + "\" \"" + source.string() + "\\\"", output), 0)
        << output;

    std::vector<archiver::EntryInfo> entries;
    const archiver::ArchiveHandle handle = archiver::UnlhaOpenArchive(archive.string());
    archiver::EntryInfo entry;
    for (int r = archiver::UnlhaFindFirst(handle, "*.*", entry); r == 0;
         r = archiver::UnlhaFindNext(handle, entry)) {
        entries.push_back(entry);
    }
    archiver::UnlhaCloseArchive(handle);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "a.txt");
    EXPECT_EQ(entries[1].name, "z.txt");
    EXPECT_EQ(entries[2].name, "big.bin");
    EXPECT_EQ(entries[2].originalSize, kBigSize);
    EXPECT_LT(entries[2].compressedSize, std::uint64_t{64} << 20);
    EXPECT_EQ(archiver::Unlha("t \"" + archive.string() + "\"", output), 0) << output;

    const CommandResult whole = RunTool("bsdtar -xOf " + Quote(archive) + " big.bin | cmp - " +
                                        Quote(source / "big.bin") + " && echo same");
    EXPECT_EQ(whole.output, "same\n");
    const CommandResult listed = RunTool("bsdtar -tvf " + Quote(archive));
    EXPECT_NE(listed.output.find(std::to_string(kBigSize)), std::string::npos) << listed.output;

    if (HasTool("lhasa")) {
        const CommandResult small =
            RunTool("lhasa p " + Quote(archive) + " a.txt z.txt 2>/dev/null");
        EXPECT_NE(small.output.find("first small file"), std::string::npos) << small.output;
        EXPECT_NE(small.output.find("last small file"), std::string::npos) << small.output;
    }
    if (HasTool("7z")) {
        const CommandResult last = RunTool("7z e -so " + Quote(archive) + " z.txt 2>/dev/null");
        EXPECT_EQ(last.output, "last small file");
    }
}

}  // namespace
