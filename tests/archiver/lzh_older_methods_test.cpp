// The older LZH methods (-lh1-, -lh4-, LArc's -lzs-/-lz4-/-lz5-, PMarc's -pm0-) decoded as the
// independent reader lhasa decodes them, the test command's answer for a method that cannot
// be decoded, and archives from other tools: level-3 headers, a program before the archive,
// bytes after the end-of-archive byte, a comment after a zero byte in a name.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive_test_support.h"
#include "archiver/archiver.h"
#include "archiver/bit_writer.h"
#include "archiver/crc16.h"
#include "archiver/lh5_encoder.h"
#include "archiver/member_extraction.h"
#include "archiver/return_code.h"

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

// A member with a level 2 or 3 header: the header CRC, then the name extension.
std::string Member(int level, const std::string& method, const std::string& name,
                   const std::string& packed, const std::string& original) {
    const std::vector<std::string> extensions = {std::string(3, '\0'), "\x01" + name};
    const unsigned sizeBytes = level == 3 ? 4 : 2;
    std::string chain;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        chain += extensions[i];
        const unsigned next = i + 1 < extensions.size() ? extensions[i + 1].size() + sizeBytes : 0u;
        if (level == 3) {
            Put32(chain, next);
        } else {
            Put16(chain, next);
        }
    }
    const unsigned baseSize = level == 3 ? 32 : 26;
    std::string header;
    Put16(header, level == 3 ? 4u : static_cast<unsigned>(baseSize + chain.size()));
    header += method;
    Put32(header, static_cast<std::uint32_t>(packed.size()));
    Put32(header, static_cast<std::uint32_t>(original.size()));
    Put32(header, 1600000000);
    header += '\x20';
    header += static_cast<char>(level);
    Put16(header, Crc(original));
    header += 'U';
    if (level == 3) Put32(header, static_cast<std::uint32_t>(baseSize + chain.size()));
    const unsigned first = static_cast<unsigned>(extensions[0].size() + sizeBytes);
    if (level == 3) {
        Put32(header, first);
    } else {
        Put16(header, first);
    }
    header += chain;
    const std::uint16_t crc = Crc(header);
    header[baseSize + 1] = static_cast<char>(crc & 0xFF);
    header[baseSize + 2] = static_cast<char>(crc >> 8);
    return header + packed;
}

std::string Lh5Packed(const std::string& input) {
    std::string packed;
    archiver::Lh5Encoder encoder([&](const std::uint8_t* data, std::size_t size) {
        packed.append(reinterpret_cast<const char*>(data), size);
        return true;
    });
    EXPECT_TRUE(encoder.Write(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()));
    EXPECT_TRUE(encoder.Finish());
    return packed;
}

std::string Bytes(const archiver::BitWriter& writer) {
    archiver::BitWriter copy = writer;
    copy.FlushBits();
    return std::string(copy.bytes().begin(), copy.bytes().end());
}

// Every member's data as this library extracts it, by name; a failure as "!" + the error.
std::vector<std::pair<std::string, std::string>> Extracted(const fs::path& archive) {
    std::string error;
    const auto reader = archiver::ArchiveReader::Open(archive, archiver::ArchiveKind::Lzh, error);
    EXPECT_TRUE(reader) << error;
    std::vector<std::pair<std::string, std::string>> result;
    if (!reader) return result;
    for (const archiver::StoredMember& member : reader->members()) {
        std::string data;
        const bool ok = reader->Decode(
            member,
            [&](const std::uint8_t* bytes, std::size_t size) {
                data.append(reinterpret_cast<const char*>(bytes), size);
                return true;
            },
            error);
        result.emplace_back(member.name, ok ? data : "!" + error);
    }
    return result;
}

class OlderMethodsTest : public TempFolderTest {
  protected:
    // The member as lhasa extracts it into a fresh folder.
    std::string LhasaExtracts(const fs::path& archive, const std::string& name) {
        const fs::path folder = root_ / ("lhasa" + std::to_string(++runs_));
        fs::create_directories(folder);
        const CommandResult run =
            RunTool("cd " + Quote(folder) + " && lhasa xq " + Quote(fs::absolute(archive)));
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return fs::exists(folder / name) ? ReadFile(folder / name) : "(not extracted)";
    }
    int runs_ = 0;
};

TEST_F(OlderMethodsTest, HandBuiltStreamsDecodeAsLhasaDecodesThem) {
    // -lzs-: literals "xy", a copy that overlaps itself from where writing began (2048 - 17),
    // a copy from the history's initial spaces, a literal.
    archiver::BitWriter lzs;
    for (const char c : {'x', 'y'}) lzs.Put(9, 0x100 | static_cast<std::uint8_t>(c));
    lzs.Put(1, 0), lzs.Put(11, 2048 - 17), lzs.Put(4, 6 - 2);
    lzs.Put(1, 0), lzs.Put(11, 0), lzs.Put(4, 3 - 2);
    lzs.Put(9, 0x100 | 'z');
    // -lz5-: flag byte (bit 0 first: 1 = literal), "abc", an overlapping copy from where
    // writing began (4096 - 18), a copy from LArc's initial run of 13 'A's, a literal.
    std::string lz5 =
        "\x27"
        "abc";
    lz5 += "\xEE\xF3";                                         // from 0xFEE, 3 + 3 bytes
    lz5 += static_cast<char>((13 * 'A') & 0xFF);               // from 13 * 0x41 = 0x34D
    lz5 += static_cast<char>((((13 * 'A') >> 4) & 0xF0) | 2);  // 3 + 2 bytes
    lz5 += '!';
    // -lh4-: the -lh5- code, every copy within 4 KiB.
    const std::string text = SampleText(4000, 5);
    const std::vector<std::tuple<std::string, std::string, std::string, std::string>> cases = {
        {"-lzs-", "lzs.txt", Bytes(lzs), "xyxyxyxy   z"},
        {"-lz5-", "lz5.txt", lz5, "abcabcabcAAAAA!"},
        {"-lh4-", "lh4.txt", Lh5Packed(text), text},
        {"-lz4-", "lz4.txt", "stored by LArc", "stored by LArc"},
        {"-pm0-", "pm0.txt", "stored by PMarc", "stored by PMarc"},
    };
    std::string bytes;
    for (const auto& [method, name, packed, original] : cases) {
        bytes += Member(2, method, name, packed, original);
    }
    const fs::path archive = root_ / "old.lzh";
    WriteFile(archive, bytes + '\0');
    const auto extracted = Extracted(archive);
    ASSERT_EQ(extracted.size(), cases.size());
    const bool lhasa = HasTool("lhasa");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& [method, name, packed, original] = cases[i];
        SCOPED_TRACE(method);
        EXPECT_EQ(extracted[i].first, name);
        EXPECT_EQ(extracted[i].second, original);
        if (lhasa) {
            EXPECT_EQ(LhasaExtracts(archive, name), original);
        }
    }
    std::string output;
    EXPECT_EQ(archiver::Unlha("t \"" + archive.string() + "\"", output), 0) << output;
}

TEST_F(OlderMethodsTest, DamagedOlderStreamsFailWithoutWrongBytes) {
    archiver::BitWriter lzs;
    lzs.Put(9, 0x100 | 'x');
    const std::string text = SampleText(3000, 2);
    const std::string lh4 = Lh5Packed(text);
    const std::string bytes = Member(2, "-lzs-", "short.txt", Bytes(lzs), "xyz") +
                              Member(2, "-lz5-", "far.txt", "\x00\xFF\xFF", std::string(3, ' ')) +
                              Member(2, "-lh4-", "cut.txt", lh4.substr(0, lh4.size() / 2), text) +
                              Member(2, "-lh1-", "lh1.txt", std::string(4, '\xFF'), "abcdef") +
                              '\0';
    const fs::path archive = root_ / "bad.lzh";
    WriteFile(archive, bytes);
    for (const auto& [name, data] : Extracted(archive)) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(data.empty());
        EXPECT_EQ(data[0], '!');
    }
    std::string output;
    EXPECT_EQ(archiver::Unlha("t \"" + archive.string() + "\"", output), archiver::kArchiveDamaged);
}

// Archives packed by the Java LHA library of Debian's jlha-utils, one per method.
TEST_F(OlderMethodsTest, ArchivesOfAnotherPackerDecodeAsLhasaDecodesThem) {
    const fs::path tool = fs::path(KIBAKO_TEST_TOOLS) / "MakeLzh.java";
    if (!HasTool("lhasa") || !HasTool("java") || !fs::exists("/usr/share/java/jlha.jar")) {
        GTEST_SKIP() << "lhasa, java or jlha-utils is not installed";
    }
    const fs::path files = root_ / "files";
    fs::create_directories(files);
    WriteFile(files / "text.txt", SampleText(200000, 3));
    // Mostly literals: enough symbols for -lh1-'s adaptive code to halve its counts more than once.
    std::string letters = RandomBytes(100000, 6);
    for (char& c : letters) c = static_cast<char>('a' + static_cast<unsigned char>(c) % 26);
    WriteFile(files / "letters.txt", letters);
    WriteFile(files / "random.bin", RandomBytes(30000, 4));
    WriteFile(files / "zeros.bin", std::string(150000, '\0'));
    WriteFile(files / "one.txt", "x");
    const std::vector<std::string> names = {"text.txt", "letters.txt", "random.bin", "zeros.bin",
                                            "one.txt"};
    std::string list;
    for (const std::string& name : names) list += " " + Quote(files / name);
    for (const std::string method : {"-lh1-", "-lh4-", "-lzs-", "-lz5-", "-lz4-", "-lh2-"}) {
        SCOPED_TRACE(method);
        const fs::path archive = root_ / ("m" + method + ".lzh");
        const CommandResult made = RunTool("java -cp /usr/share/java/jlha.jar " + Quote(tool) +
                                           " " + Quote(archive) + " " + method + list);
        ASSERT_EQ(made.exitCode, 0) << made.output;
        const auto extracted = Extracted(archive);
        ASSERT_EQ(extracted.size(), names.size());
        std::string output;
        const int tested = archiver::Unlha("t \"" + archive.string() + "\"", output);
        if (method == std::string("-lh2-")) {
            // Not decoded here: said so, naming the member, and not called damage.
            EXPECT_EQ(tested, archiver::kMethodNotCheckable) << output;
            EXPECT_NE(output.find("この圧縮方式は検査できません"), std::string::npos) << output;
            EXPECT_NE(output.find("text.txt（-lh2-）"), std::string::npos) << output;
            continue;
        }
        EXPECT_EQ(tested, 0) << output;
        for (std::size_t i = 0; i < names.size(); ++i) {
            SCOPED_TRACE(names[i]);
            EXPECT_EQ(extracted[i].first, names[i]);
            EXPECT_TRUE(extracted[i].second == ReadFile(files / names[i]))
                << extracted[i].second.substr(0, 80);
            EXPECT_TRUE(LhasaExtracts(archive, names[i]) == extracted[i].second);
        }
    }
}

class ForeignShapesTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        source_ = root_ / "src";
        fs::create_directories(source_);
        WriteFile(source_ / "new.txt", "a new file", 1700000000);
    }
    int Update(const fs::path& archive, std::string& output) const {
        return archiver::Unlha("u \"" + archive.string() + "\" \"" + source_.string() + "\\\"",
                               output);
    }
    fs::path source_;
};

TEST_F(ForeignShapesTest, LevelThreeMembersAreReadAndKeptByteForByte) {
    const std::string text = SampleText(5000, 8);
    const std::string level3 = Member(3, "-lh5-", "three.txt", Lh5Packed(text), text);
    const fs::path archive = root_ / "level3.lzh";
    WriteFile(archive, level3 + '\0');
    const auto extracted = Extracted(archive);
    ASSERT_EQ(extracted.size(), 1u);
    EXPECT_EQ(extracted[0].first, "three.txt");
    EXPECT_TRUE(extracted[0].second == text);
    std::string output;
    ASSERT_EQ(Update(archive, output), 0) << output;
    EXPECT_EQ(output, "1 added, 0 replaced");
    EXPECT_EQ(ReadFile(archive).substr(0, level3.size()), level3);
    if (!HasTool("lhasa")) GTEST_SKIP() << "lhasa is not installed";
    const CommandResult tested = RunTool("lhasa t " + Quote(archive));
    EXPECT_EQ(tested.exitCode, 0) << tested.output;
}

TEST_F(ForeignShapesTest, BytesAfterTheEndByteFollowTheNewEnd) {
    const std::string member = Member(2, "-lh0-", "old.txt", "old data", "old data");
    const std::string trailer = std::string(40, '\x1A') + "note";
    const fs::path archive = root_ / "trailer.lzh";
    WriteFile(archive, member + '\0' + trailer);
    std::string output;
    ASSERT_EQ(Update(archive, output), 0) << output;
    const std::string after = ReadFile(archive);
    EXPECT_EQ(after.substr(0, member.size()), member);
    ASSERT_GT(after.size(), trailer.size() + 1);
    EXPECT_EQ(after.substr(after.size() - trailer.size() - 1), '\0' + trailer);
    const auto extracted = Extracted(archive);
    ASSERT_EQ(extracted.size(), 2u);
    EXPECT_EQ(extracted[1].first, "new.txt");
    // Deleting every member would leave the end byte and the bytes after it, which no longer
    // read as an archive: refused, the archive as it was.
    const fs::path empty = root_ / "empty";
    fs::create_directories(empty);
    EXPECT_EQ(archiver::Unlha("d -jn \"" + archive.string() + "\" \"" + empty.string() + "\\\" *.*",
                              output),
              archiver::kWriteFailed);
    EXPECT_NE(output.find("削除することはしません"), std::string::npos) << output;
    EXPECT_EQ(ReadFile(archive), after);
    if (!HasTool("lhasa")) GTEST_SKIP() << "lhasa is not installed";
    const CommandResult tested = RunTool("lhasa t " + Quote(archive));
    EXPECT_EQ(tested.exitCode, 0) << tested.output;
}

TEST_F(ForeignShapesTest, ProgramBeforeTheArchiveIsNamedAndRefused) {
    const std::string archiveBytes = Member(2, "-lh0-", "a.txt", "data", "data") + '\0';
    // An MS-DOS program, and an Amiga one, whose first byte is zero.
    for (const std::string& program :
         {"MZ" + RandomBytes(2000, 1), std::string("\0\0\x03\xF3", 4) + RandomBytes(900, 2)}) {
        const fs::path archive = root_ / "sfx.lzh";
        const std::string bytes = program + archiveBytes;
        WriteFile(archive, bytes);
        std::string output;
        EXPECT_EQ(Update(archive, output), archiver::kArchiveDamaged);
        EXPECT_NE(output.find("プログラムの後ろに LZH アーカイブが続く"), std::string::npos)
            << output;
        EXPECT_NE(output.find(std::to_string(program.size()) + " バイト目"), std::string::npos)
            << output;
        EXPECT_EQ(output.find("checksum"), std::string::npos) << output;
        EXPECT_EQ(ReadFile(archive), bytes);
    }
}

TEST_F(ForeignShapesTest, NameEndsAtItsZeroByteInEveryNameField) {
    const std::string text = "some text";
    // A level-2 name extension with an Amiga comment, and a member that fails its CRC.
    std::string damaged = Member(2, "-lh0-", std::string("bad.txt\0a comment", 17), text, text);
    damaged[damaged.size() - 1] ^= 1;
    const fs::path archive = root_ / "amiga.lzh";
    WriteFile(archive, Member(2, "-lh0-", std::string("am.txt\0a comment", 16), text, text) +
                           damaged + '\0');
    const auto extracted = Extracted(archive);
    ASSERT_EQ(extracted.size(), 2u);
    EXPECT_EQ(extracted[0].first, "am.txt");
    EXPECT_EQ(extracted[0].second, text);
    std::string output;
    EXPECT_EQ(archiver::Unlha("t \"" + archive.string() + "\"", output), archiver::kArchiveDamaged);
    EXPECT_EQ(output, "bad.txt: CRC mismatch");
}

}  // namespace
