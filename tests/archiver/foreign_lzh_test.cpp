// Updates of LZH archives written by other tools: every member the update does not replace
// keeps its header and data bytes, and a file that does not read as an archive is left alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive_test_support.h"
#include "archiver/archiver.h"
#include "archiver/crc16.h"

namespace {

using namespace archiver_test;

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint16_t Crc(const std::string& data) {
    return archiver::UpdateCrc16(0, reinterpret_cast<const std::uint8_t*>(data.data()),
                                 data.size());
}

// A level 0 or 1 member; level 1 without extension headers.
std::string Level01Member(int level, const std::string& method, const std::string& name,
                          const std::string& data, std::uint32_t originalSize, char os,
                          std::uint8_t attribute) {
    std::string base = method;
    Put32(base, static_cast<std::uint32_t>(data.size()));
    Put32(base, originalSize);
    Put32(base, 0x52A46000);  // 2021-05-04 12:00:00 in MS-DOS form
    base += static_cast<char>(attribute);
    base += static_cast<char>(level);
    base += static_cast<char>(name.size());
    base += name;
    Put16(base, Crc(data));
    base += os;
    if (level == 1) Put16(base, 0);  // no extension headers
    std::uint8_t sum = 0;
    for (const char c : base) sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
    std::string member;
    member += static_cast<char>(base.size());
    member += static_cast<char>(sum);
    return member + base + data;
}

std::string Extension(std::uint8_t type, const std::string& data) {
    std::string ext(1, static_cast<char>(type));
    return ext + data;
}

// A level 2 member with the given extension bodies (type byte + data each).
std::string Level2Member(const std::string& method, const std::string& data,
                         std::uint32_t originalSize, char os, std::vector<std::string> extensions) {
    // The header CRC goes first; it is computed over the header with the field zero.
    extensions.insert(extensions.begin(), std::string(3, '\0'));
    std::string chain;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        chain += extensions[i];
        Put16(chain,
              i + 1 < extensions.size() ? static_cast<unsigned>(extensions[i + 1].size() + 2) : 0u);
    }
    std::string header;
    Put16(header, static_cast<unsigned>(26 + chain.size()));
    header += method;
    Put32(header, static_cast<std::uint32_t>(data.size()));
    Put32(header, originalSize);
    Put32(header, 1600000000);
    header += '\x20';
    header += '\x02';
    Put16(header, Crc(data));
    header += os;
    Put16(header, extensions.empty() ? 0u : static_cast<unsigned>(extensions[0].size() + 2));
    header += chain;
    const std::uint16_t crc = Crc(header);
    header[27] = static_cast<char>(crc & 0xFF);
    header[28] = static_cast<char>(crc >> 8);
    return header + data;
}

struct ForeignArchive {
    std::string bytes;
    std::vector<std::string> kept;  // each kept member's header and data bytes
};

ForeignArchive MakeForeignArchive(const std::string& replaceMe) {
    ForeignArchive archive;
    const auto keep = [&](const std::string& member) {
        archive.kept.push_back(member);
        archive.bytes += member;
    };
    // MS-DOS tool, level 0, read-only attribute.
    keep(Level01Member(0, "-lh0-", "DOS.TXT", "made on MS-DOS", 14, 'M', 0x21));
    // Amiga tool, level 1, a comment after a zero byte in the name.
    keep(Level01Member(1, "-lh0-", std::string("amiga.txt\0a comment", 19), "amiga data", 10, 'A',
                       0x00));
    // Unix tool, level 2: permissions, group and user, time.
    std::string permission;
    Put16(permission, 0100640);
    std::string ids;
    Put16(ids, 100);
    Put16(ids, 1000);
    keep(Level2Member(
        "-lh0-", "unix data", 9, 'U',
        {Extension(0x01, "unix.txt"), Extension(0x50, permission), Extension(0x51, ids)}));
    // A Unix symbolic link.
    std::string linkMode;
    Put16(linkMode, 0120777);
    keep(Level2Member("-lhd-", "", 0, 'U',
                      {Extension(0x01, "link|unix.txt"), Extension(0x50, linkMode)}));
    // Methods this library does not decode: packed bytes it can only keep.
    keep(Level2Member("-lh1-", RandomBytes(300, 7), 500, 'U', {Extension(0x01, "old1.bin")}));
    keep(Level01Member(1, "-lzs-", "lzs.bin", RandomBytes(120, 8), 200, 'M', 0x20));
    // An Amiga empty folder: a stored member whose name ends with a separator.
    keep(Level01Member(0, "-lh0-", "empty/", "", 0, 'A', 0x10));
    // The member the update replaces.
    archive.bytes += Level01Member(0, "-lh0-", replaceMe, "old", 3, 'M', 0x20);
    archive.bytes += '\0';
    return archive;
}

class ForeignLzhTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        source_ = root_ / "src";
        fs::create_directories(source_);
    }
    int Update(const fs::path& archive, std::string& output) const {
        return archiver::Unlha("u \"" + archive.string() + "\" \"" + source_.string() + "\\\"",
                               output);
    }
    fs::path source_;
};

TEST_F(ForeignLzhTest, KeptMembersKeepTheirHeaderAndDataBytes) {
    const ForeignArchive foreign = MakeForeignArchive("REPLACE.TXT");
    const fs::path archive = root_ / "foreign.lzh";
    WriteFile(archive, foreign.bytes);
    WriteFile(source_ / "REPLACE.TXT", "the new contents", 1700000000);
    WriteFile(source_ / "added.txt", "an added file", 1700000000);
    std::string output;
    ASSERT_EQ(Update(archive, output), 0) << output;
    EXPECT_EQ(output, "1 added, 1 replaced");
    const std::string after = ReadFile(archive);
    for (std::size_t i = 0; i < foreign.kept.size(); ++i) {
        EXPECT_NE(after.find(foreign.kept[i]), std::string::npos) << "member " << i;
    }
    // A second run finds nothing to do: no member was added twice.
    ASSERT_EQ(Update(archive, output), 0) << output;
    EXPECT_EQ(output, "0 added, 0 replaced");

    if (!HasTool("lha")) GTEST_SKIP() << "lhasa is not installed";
    const CommandResult listed = RunTool("lha l " + Quote(archive));
    EXPECT_NE(listed.output.find("link"), std::string::npos) << listed.output;
    EXPECT_NE(listed.output.find("added.txt"), std::string::npos) << listed.output;
}

TEST_F(ForeignLzhTest, ReaderAnswersTheSameForKeptMembers) {
    if (!HasTool("lha")) GTEST_SKIP() << "lhasa is not installed";
    const ForeignArchive foreign = MakeForeignArchive("REPLACE.TXT");
    const fs::path archive = root_ / "foreign.lzh";
    WriteFile(archive, foreign.bytes);
    const std::string before = RunTool("lha t " + Quote(archive)).output;
    WriteFile(source_ / "added.txt", "an added file", 1700000000);
    std::string output;
    ASSERT_EQ(Update(archive, output), 0) << output;
    const std::string after = RunTool("lha t " + Quote(archive)).output;
    // Every line about an old member stays; the added member adds its own.
    std::size_t start = 0;
    while (start < before.size()) {
        const std::size_t end = before.find('\n', start);
        const std::string line = before.substr(start, end - start);
        if (!line.empty()) {
            EXPECT_NE(after.find(line), std::string::npos) << line;
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

TEST_F(ForeignLzhTest, FileThatIsNotAnArchiveIsNeverReplaced) {
    WriteFile(source_ / "a.txt", "a file", 1700000000);
    std::string zeroed(5000, 'x');
    zeroed[0] = '\0';
    const ForeignArchive foreign = MakeForeignArchive("B.TXT");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"zeroed start", zeroed},
        {"self-extractor stub", "MZ" + RandomBytes(3000, 3) + foreign.bytes},
        {"text", SampleText(2000)},
        {"unknown header level", std::string("\x16\x00-lh0-", 7) + std::string(40, '\x03')},
        {"truncated member", foreign.bytes.substr(0, foreign.bytes.size() / 2)},
    };
    for (const auto& [label, bytes] : cases) {
        SCOPED_TRACE(label);
        const fs::path archive = root_ / "damaged.lzh";
        WriteFile(archive, bytes);
        std::string output;
        EXPECT_NE(Update(archive, output), 0);
        EXPECT_NE(output.find(archive.string()), std::string::npos) << output;
        EXPECT_EQ(ReadFile(archive), bytes);
        EXPECT_TRUE(HiddenFilesIn(root_).empty());
    }
}

TEST_F(ForeignLzhTest, EndByteAloneOrNothingIsAnEmptyArchive) {
    WriteFile(source_ / "a.txt", "a file", 1700000000);
    for (const std::string& bytes : {std::string(1, '\0'), std::string()}) {
        const fs::path archive = root_ / "empty.lzh";
        WriteFile(archive, bytes);
        std::string output;
        EXPECT_EQ(Update(archive, output), 0) << output;
        EXPECT_EQ(output, "1 added, 0 replaced");
        fs::remove(archive);
    }
}

TEST_F(ForeignLzhTest, ListsForeignNamesAsOtherReadersDo) {
    std::string bytes =
        Level01Member(0, "-lh0-", "\\LEAD.TXT", "x", 1, 'M', 0x20) +
        Level01Member(1, "-lh0-", std::string("am.txt\0note", 11), "y", 1, 'A', 0x00) +
        Level01Member(0, "-lh0-", "dir/", "", 0, 'A', 0x10) + '\0';
    const fs::path archive = root_ / "names.lzh";
    WriteFile(archive, bytes);
    const archiver::ArchiveHandle handle = archiver::UnlhaOpenArchive(archive.string());
    ASSERT_NE(handle, 0);
    std::vector<std::string> names;
    archiver::EntryInfo entry;
    for (int found = archiver::UnlhaFindFirst(handle, "*", entry); found == 0;
         found = archiver::UnlhaFindNext(handle, entry)) {
        names.push_back(entry.name);
    }
    archiver::UnlhaCloseArchive(handle);
    EXPECT_EQ(names, (std::vector<std::string>{"LEAD.TXT", "am.txt", "dir\\"}));
}

}  // namespace

namespace {

// CA B2 is both "ﾊｲ" in CP932 and "ʲ" in UTF-8: an archive from an MS-DOS tool means the first.
TEST_F(ForeignLzhTest, HalfWidthKatakanaNameIsMatchedNotAddedAgain) {
    const fs::path archive = root_ / "kana.lzh";
    const std::string member = Level01Member(0, "-lh0-", "\xCA\xB2.txt", "old", 3, 'M', 0x20);
    const std::string other = Level01Member(0, "-lh0-", "KEEP.TXT", "keep", 4, 'M', 0x20);
    WriteFile(archive, member + other + '\0');
    WriteFile(source_ / "ﾊｲ.txt", "the new contents", 1700000000);
    std::string output;
    ASSERT_EQ(Update(archive, output), 0) << output;
    EXPECT_EQ(output, "0 added, 1 replaced");
    EXPECT_NE(ReadFile(archive).find(other), std::string::npos);
    ASSERT_EQ(Update(archive, output), 0) << output;
    EXPECT_EQ(output, "0 added, 0 replaced");
}

}  // namespace
