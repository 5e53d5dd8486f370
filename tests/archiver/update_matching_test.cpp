// How an update pairs the walked files with the members of the old archive when both lists
// are long: the ZIP directory read by libzip a slice at a time, the walk kept compactly, and
// clashing names reported as the first clash in name order.
#include <gtest/gtest.h>
#include <zip.h>

#include <cstring>

#include "archive_test_support.h"
#include "archiver/archiver.h"
#include "archiver/folder_walker.h"
#include "archiver/zip_archive_handle.h"
#include "archiver/zip_entries.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;
const std::string kShiftJisName = "\x8E\xCA\x90\x5E.txt";  // 写真.txt in CP932

using UpdateMatchingTest = UpdateFolderTest;

// More members than libzip is given at once, in a folder walked after a later name ("b.txt"
// comes first in the walk, last by name): a replaced member stays where it lay, an added one
// goes last, and every other member is copied as it was, so that the archive is the one a
// first backup of the same files writes.
TEST_F(UpdateMatchingTest, LongListsMatchAcrossSlicesAndKeepEveryOtherMember) {
    const fs::path source = root_ / "src";
    WriteFile(source / "b.txt", "b", kTime);
    for (int i = 0; i < 4200; ++i) {
        WriteFile(source / "a" / ("f" + std::to_string(10000 + i) + ".txt"),
                  "member " + std::to_string(i), kTime);
    }
    for (const std::string kind : {"lzh", "zip"}) {
        SCOPED_TRACE(kind);
        const fs::path archive = root_ / ("backup." + kind);
        ASSERT_EQ(Update(kind, archive, source), 0) << output_;
        EXPECT_EQ(output_, "4201 added, 0 replaced");
        ASSERT_EQ(Update(kind, archive, source), 0) << output_;
        EXPECT_EQ(output_, "0 added, 0 replaced");

        WriteFile(source / "a" / "f14150.txt", "changed, " + kind, kTime + 100);
        WriteFile(source / "a" / ("z-" + kind + ".txt"), "added", kTime);
        ASSERT_EQ(Update(kind, archive, source), 0) << output_;
        EXPECT_EQ(output_, "1 added, 1 replaced");

        const fs::path fresh = root_ / ("fresh." + kind);
        ASSERT_EQ(Update(kind, fresh, source), 0) << output_;
        EXPECT_TRUE(ReadFile(archive) == ReadFile(fresh));
        fs::remove(source / "a" / ("z-" + kind + ".txt"));
        WriteFile(source / "a" / "f14150.txt", "member 4150", kTime);
    }
}

// Two pairs of files that would list alike: the one reported is the first by listed name as
// the archive shows it ("\" between LZH folders sorts after "A", "/" in ZIP before it), with
// its files in the order the walk found them.
TEST_F(UpdateMatchingTest, FirstClashByListedNameIsReported) {
    const fs::path source = root_ / "src";
    WriteFile(source / ("aA" + kShiftJisName), "1", kTime);
    WriteFile(source / "aA写真.txt", "2", kTime);
    WriteFile(source / "a" / kShiftJisName, "3", kTime);
    WriteFile(source / "a" / "写真.txt", "4", kTime);
    const std::string rootPair =
        " " + (source / ("aA" + kShiftJisName)).string() + " " + (source / "aA写真.txt").string();
    const std::string folderPair =
        " " + (source / "a" / kShiftJisName).string() + " " + (source / "a" / "写真.txt").string();

    EXPECT_EQ(Update("lzh", root_ / "clash.lzh", source), 4);
    EXPECT_EQ(output_, "these files would be stored under the one name aA写真.txt:" + rootPair);
    EXPECT_EQ(Update("zip", root_ / "clash.zip", source), 4);
    EXPECT_EQ(output_, "these files would be stored under the one name a/写真.txt:" + folderPair);
    EXPECT_FALSE(fs::exists(root_ / "clash.lzh"));
    EXPECT_FALSE(fs::exists(root_ / "clash.zip"));
}

TEST(SourceFileListTest, KeepsPathsTimesAndSizesThroughAFilter) {
    archiver::SourceFileList files("/data/src");
    files.Add({}, "top.txt", 10, 1);
    files.Add({"sub", "deeper"}, "drop.txt", 20, 2);
    files.Add({"sub"}, "\x8E\xCA.txt", 30, 3);
    files.Add({"sub", "deeper"}, "last.txt", 40, 4);
    files.KeepIf([](std::size_t i) { return i != 1; });
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files.RelativePath(0), "top.txt");
    EXPECT_EQ(files.RelativePath(1), "sub/\x8E\xCA.txt");
    EXPECT_EQ(files.RelativePath(2), "sub/deeper/last.txt");
    EXPECT_EQ(files.HostPath(2), "/data/src/sub/deeper/last.txt");
    const archiver::SourceFile file = files.At(1);
    EXPECT_EQ(file.path, (std::vector<std::string>{"sub", "\x8E\xCA.txt"}));
    EXPECT_EQ(file.hostPath, "/data/src/sub/\x8E\xCA.txt");
    EXPECT_EQ(file.modifiedTime, 30);
    EXPECT_EQ(file.size, 3u);
    EXPECT_EQ(files.At(2).modifiedTime, 40);
    EXPECT_EQ(files.Size(0), 1u);
}

// An archive whose directory lies past 4 GB (here zeros up to it): the slice given to libzip
// ends with zip64 end records, and libzip reads its entries.
class ZerosThen final : public archiver::RandomAccessInput {
  public:
    explicit ZerosThen(std::uint64_t size) : size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* data, std::size_t count) const override {
        if (offset > size_ || count > size_ - offset) return false;
        std::memset(data, 0, count);
        return true;
    }

  private:
    std::uint64_t size_;
};

std::vector<std::uint8_t> CentralRecord(const std::string& name) {
    std::vector<std::uint8_t> record(46 + name.size(), 0);
    std::memcpy(record.data(), "PK\x01\x02", 4);
    record[4] = 20;
    record[6] = 20;
    record[28] = static_cast<std::uint8_t>(name.size());
    std::memcpy(record.data() + 46, name.data(), name.size());
    return record;
}

TEST(ZipSliceTest, DirectoryBeforeOrPastFourGigabytesReadsAsItsRecords) {
    for (const std::uint64_t directoryOffset : {std::uint64_t{4096}, std::uint64_t{5} << 30}) {
        SCOPED_TRACE(directoryOffset);
        const ZerosThen input(directoryOffset);
        std::vector<std::uint8_t> records = CentralRecord("a.txt");
        const std::vector<std::uint8_t> second = CentralRecord("sub/b.txt");
        records.insert(records.end(), second.begin(), second.end());
        std::string error;
        const archiver::ZipArchiveHandle archive(input, 0, directoryOffset, records, 2, "x.zip",
                                                 error);
        ASSERT_NE(archive.get(), nullptr) << error;
        std::vector<archiver::ZipEntry> entries;
        ASSERT_TRUE(archiver::ReadZipEntries(archive.get(), entries, error)) << error;
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0].name, "a.txt");
        EXPECT_EQ(entries[1].name, "sub/b.txt");
        EXPECT_EQ(entries[1].index, 1u);
    }
}

}  // namespace
