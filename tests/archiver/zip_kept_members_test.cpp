// ZIP updates keep what they do not replace byte for byte: archives made by zip, 7z, bsdtar
// and Python (stored, deflated, bzip2, LZMA, zip64, data descriptors, comments, encryption,
// a program before the archive, bytes after it) have one member replaced, and every other
// member's local header, data and data descriptor and its central record (but for the
// offset) are compared by an independent reader; unzip, 7z and bsdtar must test the archive
// as they did before.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <sstream>

#include "archive_test_support.h"
#include "archiver/archiver.h"
#include "archiver/zip_layout.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;

// Member lines of tools/zip_members.py by raw name (hex), plus "comment" and "prefix".
std::map<std::string, std::string> Members(const fs::path& archive) {
    const CommandResult result =
        RunTool("python3 " + Quote(KIBAKO_ZIP_MEMBERS_TOOL) + " " + Quote(archive));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    std::map<std::string, std::string> members;
    std::istringstream lines(result.output);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        members[line.substr(0, tab)] = tab == std::string::npos ? "" : line.substr(tab + 1);
    }
    return members;
}

std::string Hex(const std::string& text) {
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : text) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

// Exit statuses of the other readers' tests, for the tools that are installed.
std::string OtherReadersAnswer(const fs::path& archive) {
    std::string answer;
    if (HasTool("unzip")) answer += std::to_string(RunTool("unzip -tq " + Quote(archive)).exitCode);
    if (HasTool("7z")) answer += " " + std::to_string(RunTool("7z t " + Quote(archive)).exitCode);
    if (HasTool("bsdtar")) {
        answer += " " + std::to_string(RunTool("bsdtar -tf " + Quote(archive)).exitCode);
    }
    return answer;
}

struct Maker {
    const char* name;
    const char* tool;
    std::string command;  // run in the source folder; "$A" is the archive
};

const char* kPython = R"(python3 - "$A" KIND <<'PY'
import io, sys, zipfile
out, kind = sys.argv[1], sys.argv[2]
method = {'store': zipfile.ZIP_STORED, 'bzip2': zipfile.ZIP_BZIP2,
          'lzma': zipfile.ZIP_LZMA}.get(kind, zipfile.ZIP_DEFLATED)
class Unseekable(io.RawIOBase):
    def __init__(self, f): self.f = f
    def writable(self): return True
    def write(self, b): return self.f.write(b)
target = open(out, 'wb')
z = zipfile.ZipFile(Unseekable(target) if kind == 'stream' else target, 'w', method)
for name in ['a.txt', 'b.bin', 'sub/c.txt']:
    if kind in ('zip64', 'stream'):
        info = zipfile.ZipInfo(name, (2020, 9, 13, 12, 26, 40))
        info.compress_type = method
        with z.open(info, 'w', force_zip64=kind == 'zip64') as w:
            w.write(open(name, 'rb').read())
    else:
        z.write(name)
        if kind == 'comments':
            z.getinfo(name).comment = ('comment of ' + name).encode()
if kind == 'comments':
    z.comment = b'the archive comment'
z.close()
PY
)";

std::string Python(const std::string& kind) {
    std::string command = kPython;
    command.replace(command.find("KIND"), 4, kind);
    return command;
}

std::vector<Maker> Makers() {
    const std::string files = " a.txt b.bin sub";
    return {
        {"zip deflate", "zip", "zip -qr \"$A\"" + files},
        {"zip store", "zip", "zip -qr0 \"$A\"" + files},
        {"zip forced zip64", "zip", "zip -qr -fz \"$A\"" + files},
        {"zip streamed, data descriptors", "zip", "zip -qr -" + files + " | cat >\"$A\""},
        {"zip member from stdin", "zip",
         "cat b.bin | zip -q -fd \"$A\" - && zip -qr \"$A\" a.txt sub"},
        {"zip archive comment", "zip",
         "zip -qr \"$A\"" + files + " && echo 'archive comment' | zip -qz \"$A\""},
        {"zip encrypted members", "zip", "zip -qr -P pw \"$A\" b.bin sub && zip -q \"$A\" a.txt"},
        {"zip -A self-extractor", "zip",
         "zip -qr ../plain.zip" + files +
             " && (head -c 5000 /dev/urandom; cat ../plain.zip) >\"$A\" && zip -qA \"$A\""},
        {"program prepended, offsets not adjusted", "zip",
         "zip -qr ../plain.zip" + files +
             " && (head -c 5000 /dev/urandom; cat ../plain.zip) >\"$A\""},
        {"bytes appended after the end record", "zip",
         "zip -qr \"$A\"" + files + " && printf 'appended' >>\"$A\""},
        {"7z deflate", "7z", "7z a -tzip -bd \"$A\"" + files + " >/dev/null"},
        {"7z bzip2", "7z", "7z a -tzip -mm=BZip2 -bd \"$A\"" + files + " >/dev/null"},
        {"7z lzma", "7z", "7z a -tzip -mm=LZMA -bd \"$A\"" + files + " >/dev/null"},
        {"7z store", "7z", "7z a -tzip -mx=0 -bd \"$A\"" + files + " >/dev/null"},
        {"bsdtar deflate", "bsdtar", "bsdtar --format zip -cf \"$A\"" + files},
        {"bsdtar store", "bsdtar",
         "bsdtar --format zip --options zip:compression=store -cf \"$A\"" + files},
        {"python deflate", "python3", Python("deflate")},
        {"python store", "python3", Python("store")},
        {"python bzip2", "python3", Python("bzip2")},
        {"python lzma", "python3", Python("lzma")},
        {"python forced zip64", "python3", Python("zip64")},
        {"python streamed, data descriptors", "python3", Python("stream")},
        {"python member and archive comments", "python3", Python("comments")},
    };
}

class ZipKeptMembersTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        made_ = root_ / "made";
        source_ = root_ / "src";
        WriteFile(made_ / "a.txt", SampleText(3000), kTime);
        WriteFile(made_ / "b.bin", RandomBytes(5000), kTime);
        WriteFile(made_ / "sub" / "c.txt", SampleText(2000, 2), kTime);
        fs::copy(made_, source_, fs::copy_options::recursive);
        for (const char* name : {"a.txt", "b.bin", "sub/c.txt"}) {
            SetModifiedTime(source_ / name, kTime);
        }
        WriteFile(source_ / "a.txt", "the new a", kTime + 100);
    }
    int Update(const fs::path& archive, std::string& output) const {
        return archiver::Zip("-ur \"" + archive.string() + "\" \"" + source_.string() + "\\\" *.*",
                             output);
    }
    fs::path made_;
    fs::path source_;
};

TEST_F(ZipKeptMembersTest, KeptMembersKeepTheirBytesWhateverMadeTheArchive) {
    if (!HasTool("python3")) GTEST_SKIP() << "python3 is not installed";
    const std::string replacedName = Hex("a.txt");
    int tried = 0;
    for (const Maker& maker : Makers()) {
        if (!HasTool(maker.tool)) continue;
        SCOPED_TRACE(maker.name);
        const fs::path archive = root_ / "kept.zip";
        fs::remove(archive);
        fs::remove(root_ / "plain.zip");
        std::string command = maker.command;
        for (std::size_t at; (at = command.find("$A")) != std::string::npos;) {
            command.replace(at, 2, archive.string());
        }
        const CommandResult made = RunTool("cd " + Quote(made_) + " && " + command);
        ASSERT_EQ(made.exitCode, 0) << made.output;
        const std::map<std::string, std::string> before = Members(archive);
        const std::string answer = OtherReadersAnswer(archive);
        ASSERT_EQ(before.count(replacedName), 1u);

        std::string output;
        ASSERT_EQ(Update(archive, output), 0) << output;
        EXPECT_NE(output.find("1 replaced"), std::string::npos) << output;
        std::map<std::string, std::string> after = Members(archive);
        EXPECT_NE(after[replacedName], before.at(replacedName));
        for (const auto& [name, line] : before) {
            if (name != replacedName) {
                EXPECT_EQ(after[name], line) << name;
            }
        }
        const std::string nowAnswer = OtherReadersAnswer(archive);
        // A program put before the archive without adjusting its offsets troubles unzip and
        // 7z; the updated archive counts its offsets from the file's start.
        if (std::string(maker.name).find("not adjusted") == std::string::npos) {
            EXPECT_EQ(nowAnswer, answer);
        } else {
            EXPECT_EQ(nowAnswer.find_first_not_of("0 "), std::string::npos) << nowAnswer;
        }
        if (HasTool("unzip")) {
            EXPECT_EQ(RunTool("unzip -p " + Quote(archive) + " a.txt").output, "the new a");
        }
        ++tried;
    }
    EXPECT_GE(tried, 10);
}

TEST_F(ZipKeptMembersTest, UpdateWithoutChangesLeavesTheFileAlone) {
    if (!HasTool("zip")) GTEST_SKIP() << "zip is not installed";
    const fs::path archive = root_ / "same.zip";
    ASSERT_EQ(RunTool("cd " + Quote(made_) + " && zip -qr " + Quote(archive) + " a.txt b.bin sub")
                  .exitCode,
              0);
    WriteFile(source_ / "a.txt", SampleText(3000), kTime);
    struct stat old {};
    ASSERT_EQ(::stat(archive.c_str(), &old), 0);
    std::string output;
    ASSERT_EQ(Update(archive, output), 0) << output;
    EXPECT_EQ(output, "0 added, 0 replaced");
    struct stat now {};
    ASSERT_EQ(::stat(archive.c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, old.st_ino);
    EXPECT_EQ(now.st_mtim.tv_nsec, old.st_mtim.tv_nsec);
    EXPECT_EQ(now.st_mtim.tv_sec, old.st_mtim.tv_sec);
}

TEST_F(ZipKeptMembersTest, ArchivesThatCannotBeLocatedAreRefusedUntouched) {
    if (!HasTool("zip")) GTEST_SKIP() << "zip is not installed";
    WriteFile(made_ / "big.bin", RandomBytes(200000, 7), kTime);
    ASSERT_EQ(RunTool("cd " + Quote(made_) + " && zip -q -s 64k split.zip big.bin && zip -q " +
                      "whole.zip a.txt b.bin")
                  .exitCode,
              0);
    const std::string whole = ReadFile(made_ / "whole.zip");
    std::string overlapping = whole;
    // The second member's central record points at the first member's local header.
    const std::size_t second = overlapping.rfind(std::string("PK\1\2", 4));
    overlapping.replace(second + 42, 4, std::string(4, '\0'));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"split", ReadFile(made_ / "split.zip")},
        {"cut short", whole.substr(0, whole.size() - 30)},
        {"members overlap", overlapping},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const fs::path archive = root_ / "refused.zip";
        WriteFile(archive, bytes);
        std::string output;
        EXPECT_NE(Update(archive, output), 0);
        EXPECT_NE(output.find(archive.string()), std::string::npos) << output;
        EXPECT_NE(output.find("更新しません"), std::string::npos) << output;
        EXPECT_EQ(ReadFile(archive), bytes);
        EXPECT_TRUE(HiddenFilesIn(root_).empty());
    }
}

// More members than the end record counts: the zip64 end records are kept and written.
TEST_F(ZipKeptMembersTest, ArchiveOfManyMembersKeepsItsZip64EndRecords) {
    if (!HasTool("python3") || !HasTool("unzip")) GTEST_SKIP() << "python3 or unzip missing";
    const fs::path archive = root_ / "many.zip";
    ASSERT_EQ(RunTool("python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                      "[z.writestr('m%d.txt' % i, 'member %d' % i) for i in range(66000)]; "
                      "z.writestr('a.txt', 'old'); z.close()\" " +
                      Quote(archive))
                  .exitCode,
              0);
    const std::map<std::string, std::string> before = Members(archive);
    std::string output;
    ASSERT_EQ(Update(archive, output), 0) << output;
    EXPECT_EQ(output, "2 added, 1 replaced");
    std::map<std::string, std::string> after = Members(archive);
    EXPECT_EQ(after.size(), before.size() + 2);
    for (const std::string name : {"m0.txt", "m65535.txt", "m65999.txt"}) {
        EXPECT_EQ(after[Hex(name)], before.at(Hex(name))) << name;
    }
    const CommandResult test = RunTool("unzip -tq " + Quote(archive));
    EXPECT_EQ(test.exitCode, 0) << test.output;
    EXPECT_NE(ReadFile(archive).find(std::string("PK\6\6", 4)), std::string::npos);
}

// The local-header offset of a kept central record: narrow when it fits and the record has
// no zip64 offset, else in the zip64 extra, which is made or widened when needed.
TEST(ZipCentralRecordTest, OffsetGoesWhereTheRecordKeepsIt) {
    const auto record = [](std::uint32_t sizes, std::uint32_t offset, const std::string& extra) {
        std::string raw("PK\1\2", 4);
        raw += std::string(16, '\x14');
        for (const std::uint32_t field : {sizes, sizes}) {
            for (int i = 0; i < 4; ++i) raw += static_cast<char>(field >> (8 * i));
        }
        raw += std::string("\5\0", 2) + static_cast<char>(extra.size()) + std::string("\0\0\0", 3);
        raw += std::string(8, '\0');
        for (int i = 0; i < 4; ++i) raw += static_cast<char>(offset >> (8 * i));
        raw += "a.txt" + extra + "";
        return std::vector<std::uint8_t>(raw.begin(), raw.end());
    };
    const auto text = [](const std::vector<std::uint8_t>& raw) {
        return std::string(raw.begin(), raw.end());
    };
    const std::string timestamp("UT\5\0\1\0\0\0\0", 9);
    std::string error;

    std::vector<std::uint8_t> narrow = record(10, 1234, timestamp);
    ASSERT_TRUE(archiver::RelocateCentralRecord(narrow, 0x01020304, error)) << error;
    EXPECT_EQ(text(narrow), text(record(10, 0x01020304, timestamp)));

    // The record already keeps its offset in the zip64 extra: it stays there.
    const std::string wideOffset = std::string("\1\0\x08\0", 4) + std::string(8, '\0');
    std::vector<std::uint8_t> kept = record(10, 0xFFFFFFFF, wideOffset + timestamp);
    ASSERT_TRUE(archiver::RelocateCentralRecord(kept, 0x55, error)) << error;
    EXPECT_EQ(text(kept),
              text(record(10, 0xFFFFFFFF,
                          std::string("\1\0\x08\0\x55", 5) + std::string(7, '\0') + timestamp)));

    // A far offset without a zip64 extra: one is added after the other extra fields.
    std::vector<std::uint8_t> added = record(10, 7, timestamp);
    ASSERT_TRUE(archiver::RelocateCentralRecord(added, 0x123456789ull, error)) << error;
    const std::string far = std::string("\x89\x67\x45\x23\1\0\0\0", 8);
    std::vector<std::uint8_t> expected =
        record(10, 0xFFFFFFFF, timestamp + std::string("\1\0\x08\0", 4) + far);
    expected[6] = 45;  // the version needed to read zip64 fields
    EXPECT_EQ(text(added), text(expected));

    // Wide sizes already in the zip64 extra: the offset follows them.
    const std::string sizes = std::string("\1\0\x10\0", 4) + std::string(16, '\x01');
    std::vector<std::uint8_t> widened = record(0xFFFFFFFF, 7, sizes + timestamp);
    ASSERT_TRUE(archiver::RelocateCentralRecord(widened, 0x123456789ull, error)) << error;
    expected = record(0xFFFFFFFF, 0xFFFFFFFF,
                      std::string("\1\0\x18\0", 4) + std::string(16, '\x01') + far + timestamp);
    expected[6] = 45;
    EXPECT_EQ(text(widened), text(expected));
}

}  // namespace
