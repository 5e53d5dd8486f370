// Reads of an archive file through its window of recent bytes: whatever the order and
// size of the reads, each gives the file's bytes at its offset, and a read past the end
// fails without giving any.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "archive_test_support.h"
#include "archiver/random_access_input.h"

namespace archiver_test {
namespace {

using archiver::FileInput;

using FileInputTest = TempFolderTest;

TEST_F(FileInputTest, ReadsInAnyOrderAndSizeGiveTheFilesBytesAndNothingPastItsEnd) {
    const fs::path path = root_ / "archive.bin";
    std::mt19937 random(7);
    const std::string bytes = RandomBytes(1'300'000, 7);
    WriteFile(path, bytes);

    std::string error;
    const std::unique_ptr<FileInput> input = FileInput::Open(path, error);
    ASSERT_TRUE(input) << error;
    ASSERT_EQ(input->size(), bytes.size());

    // Forward runs of small reads (headers), jumps back and ahead, reads across the
    // window's edge and reads larger than half of it.
    std::string got;
    for (int i = 0; i < 4000; ++i) {
        const std::size_t count = i % 97 == 0 ? random() % 400'000 : random() % 300;
        const std::uint64_t offset =
            i % 13 == 0 ? random() % bytes.size() : (i * 1021ull) % bytes.size();
        got.assign(count, '\0');
        const bool fits = offset + count <= bytes.size();
        ASSERT_EQ(input->ReadAt(offset, got.data(), count), fits) << offset << " " << count;
        if (fits) {
            ASSERT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + offset))
                << offset << " " << count;
        }
    }
    char last = 0;
    EXPECT_TRUE(input->ReadAt(bytes.size() - 1, &last, 1));
    EXPECT_EQ(last, bytes.back());
    EXPECT_FALSE(input->ReadAt(bytes.size(), &last, 1));
    EXPECT_TRUE(input->ReadAt(bytes.size(), &last, 0));
}

}  // namespace
}  // namespace archiver_test
