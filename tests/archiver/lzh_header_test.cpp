// Level-2 headers as written, read back; and the command-line parser.
#include <gtest/gtest.h>

#include "archiver/command_line.h"
#include "archiver/crc16.h"
#include "archiver/lzh_header.h"

namespace archiver {
namespace {

LzhMember Member(std::vector<std::string> path, std::uint64_t size) {
    LzhMember member;
    member.methodId = "-lh5-";
    member.method = LzhMethod::kLh5;
    member.path = std::move(path);
    member.originalSize = size;
    member.packedSize = size / 2;
    member.crc = 0xBEEF;
    member.unixTime = 1600000000;
    return member;
}

LzhMember ReadBack(const std::vector<std::uint8_t>& header, std::uint64_t dataSize,
                   HeaderStatus expected = HeaderStatus::kMember) {
    // Data is not read by the header reader; only its extent must lie inside the input.
    std::vector<std::uint8_t> bytes = header;
    bytes.resize(header.size() + std::min<std::uint64_t>(dataSize, 1 << 20));
    const MemoryInput input(bytes.data(), bytes.size());
    LzhMember member;
    std::uint64_t next = 0;
    std::string error;
    EXPECT_EQ(ReadLzhHeader(input, 0, member, next, error), expected) << error;
    return member;
}

// The table-driven checksum equals the bit-by-bit definition at every length
// and however the data is split between calls.
TEST(Crc16, MatchesTheBitwiseDefinitionInPieces) {
    const auto bitwise = [](const std::vector<std::uint8_t>& data) {
        std::uint16_t crc = 0;
        for (const std::uint8_t byte : data) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit) {
                crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
            }
        }
        return crc;
    };
    const std::uint8_t check[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(UpdateCrc16(0, check, sizeof check), 0xBB3D);
    std::vector<std::uint8_t> data;
    for (std::size_t size = 0; size < 40; ++size) {
        data.push_back(static_cast<std::uint8_t>(size * 151 + 7));
        for (std::size_t split = 0; split <= size + 1; split += 3) {
            const std::uint16_t first = UpdateCrc16(0, data.data(), split);
            EXPECT_EQ(UpdateCrc16(first, data.data() + split, data.size() - split), bitwise(data))
                << size << " " << split;
        }
    }
}

TEST(LzhHeader, WritesWhatItReadsInBothCodePages) {
    const LzhMember original = Member({"写真", "二〇二〇", "旅行.jpg"}, 1000);
    for (const NameCodePage page : {NameCodePage::kCp932, NameCodePage::kUtf8}) {
        const std::vector<std::uint8_t> header = BuildLevel2Header(original, page, false);
        ASSERT_FALSE(header.empty());
        EXPECT_EQ(header[19], 0x20);
        EXPECT_EQ(header[20], 2);
        EXPECT_NE(header[0], 0);
        const LzhMember read = ReadBack(header, 500);
        EXPECT_EQ(read.path, original.path);
        EXPECT_EQ(read.originalSize, 1000u);
        EXPECT_EQ(read.packedSize, 500u);
        EXPECT_EQ(read.crc, 0xBEEF);
        EXPECT_EQ(read.unixTime, 1600000000);
        EXPECT_TRUE(read.exactTime);
        EXPECT_FALSE(read.unsafePath);
    }
    // é has no CP932 form.
    EXPECT_TRUE(BuildLevel2Header(Member({"café"}, 1), NameCodePage::kCp932, false).empty());
}

TEST(LzhHeader, SizesBeyondFourGigabytesUseTheWideField) {
    const std::uint64_t huge = (std::uint64_t{5} << 30) + 7;
    LzhMember member = Member({"big.bin"}, huge);
    member.packedSize = 10;  // the reader checks the packed data against the input's size
    const LzhMember back = ReadBack(BuildLevel2Header(member, NameCodePage::kCp932, true), 10);
    EXPECT_EQ(back.originalSize, huge);
    EXPECT_EQ(back.packedSize, 10u);
}

TEST(LzhHeader, HeaderSizeNeverEndsInZero) {
    // Name lengths that make the header 256 bytes long get a padding byte.
    for (std::size_t length = 150; length < 260; ++length) {
        const std::vector<std::uint8_t> header =
            BuildLevel2Header(Member({std::string(length, 'n')}, 1), NameCodePage::kUtf8, false);
        ASSERT_NE(header[0], 0) << length;
        EXPECT_EQ(ReadBack(header, 0).path[0].size(), length);
    }
}

TEST(LzhHeader, CorruptedHeadersAreDamaged) {
    const std::vector<std::uint8_t> good =
        BuildLevel2Header(Member({"a.txt"}, 4), NameCodePage::kCp932, false);
    for (std::size_t i = 2; i < good.size(); ++i) {
        std::vector<std::uint8_t> bad = good;
        bad[i] ^= 0x40;
        const MemoryInput input(bad.data(), bad.size());
        LzhMember member;
        std::uint64_t next = 0;
        std::string error;
        // Every changed byte is caught by the header CRC or by a size check.
        EXPECT_EQ(ReadLzhHeader(input, 0, member, next, error), HeaderStatus::kDamaged) << i;
    }
}

TEST(CommandLine, ParsesTheEngineForms) {
    std::string error;
    auto update =
        ParseUnlhaCommand("u -r2x1a2 \"C:\\My Data\\b.lzh\" \"C:\\My Data\\src\\\"", error);
    ASSERT_TRUE(update) << error;
    EXPECT_EQ(update->verb, UnlhaVerb::kUpdate);
    EXPECT_TRUE(update->recursive);
    EXPECT_EQ(update->archive, "C:\\My Data\\b.lzh");
    EXPECT_EQ(update->baseFolder, "C:\\My Data\\src");
    auto flat = ParseUnlhaCommand("u \"b.lzh\" \"D:\\\"", error);
    ASSERT_TRUE(flat) << error;
    EXPECT_FALSE(flat->recursive);
    EXPECT_EQ(flat->baseFolder, "D:\\");
    auto remove = ParseUnlhaCommand("d -jn \"b.lzh\" \"C:\\s\\\" *.*", error);
    ASSERT_TRUE(remove) << error;
    EXPECT_EQ(remove->verb, UnlhaVerb::kDeleteMissing);
    EXPECT_EQ(remove->patterns, std::vector<std::string>{"*.*"});
    for (const char* word : {"-", "-u", "-r", "-ur"}) {
        auto zip = ParseZipCommand(std::string(word) + " \"a.zip\" \"C:\\s\\\" *.*", error);
        ASSERT_TRUE(zip) << word << ": " << error;
        EXPECT_EQ(zip->updateOnly, std::string(word).find('u') != std::string::npos);
        EXPECT_EQ(zip->recursive, std::string(word).find('r') != std::string::npos);
    }
    EXPECT_FALSE(ParseZipCommand("-u \"a.zip\" \"C:\\s\" *.*", error));
    EXPECT_FALSE(ParseZipCommand("-u \"a.zip \"C:\\s\\\" *.*", error));
    EXPECT_FALSE(ParseUnlhaCommand("u -jn \"a.lzh\" \"s\\\"", error));
}

}  // namespace
}  // namespace archiver
