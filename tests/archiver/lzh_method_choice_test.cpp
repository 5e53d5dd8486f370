// How the LZH writer chooses between compressing and storing a member when the kind of data
// changes along the file.
#include <gtest/gtest.h>

#include <map>

#include "archive_test_support.h"
#include "archiver/archiver.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;

std::map<std::string, archiver::EntryInfo> ListByName(const fs::path& archive) {
    std::map<std::string, archiver::EntryInfo> entries;
    const archiver::ArchiveHandle handle = archiver::UnlhaOpenArchive(archive.string());
    if (handle == 0) return entries;
    archiver::EntryInfo entry;
    for (int r = archiver::UnlhaFindFirst(handle, "*.*", entry); r == 0;
         r = archiver::UnlhaFindNext(handle, entry)) {
        entries[entry.name] = entry;
    }
    archiver::UnlhaCloseArchive(handle);
    return entries;
}

class LzhMethodChoiceTest : public TempFolderTest {};

// A disk image: an incompressible start, then mostly zeros; the reverse, text then random
// bytes; and random bytes throughout, which are stored and do not grow.
TEST_F(LzhMethodChoiceTest, DataThatShrinksLaterInTheFileIsStillCompressed) {
    const fs::path source = root_ / "src";
    const fs::path archive = root_ / "out.lzh";
    constexpr std::size_t kMiB = 1 << 20;
    WriteFile(source / "image.bin", RandomBytes(kMiB, 4) + std::string(24 * kMiB, '\0'), kTime);
    WriteFile(source / "reverse.bin", SampleText(kMiB, 5) + RandomBytes(4 * kMiB, 6), kTime);
    WriteFile(source / "random.bin", RandomBytes(3 * kMiB, 7), kTime);
    std::string output;
    ASSERT_EQ(
        archiver::Unlha("u \"" + archive.string() + "\" \"" + source.string() + "\\\"", output), 0)
        << output;

    const auto entries = ListByName(archive);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries.at("image.bin").originalSize, 25 * kMiB);
    EXPECT_LT(entries.at("image.bin").compressedSize, kMiB + kMiB / 8);
    EXPECT_LT(entries.at("reverse.bin").compressedSize, 5 * kMiB - kMiB / 2);
    EXPECT_EQ(entries.at("random.bin").compressedSize, 3 * kMiB);
    EXPECT_EQ(archiver::Unlha("t \"" + archive.string() + "\"", output), 0) << output;
    if (HasTool("lhasa")) {
        const CommandResult tested = RunTool("lhasa t " + Quote(archive));
        EXPECT_EQ(tested.exitCode, 0) << tested.output;
    }
}

}  // namespace
