// Members read back out of archives made by this library and by other tools: the data comes
// out whole or not at all, and names that would leave the target folder are refused.
#include <gtest/gtest.h>

#include <fstream>

#include "archive_test_support.h"
#include "archiver/archiver.h"
#include "archiver/member_extraction.h"

namespace {

using namespace archiver_test;
using archiver::ArchiveKind;
using archiver::ArchiveReader;
using archiver::StoredMember;

constexpr std::int64_t kTime = 1600000000;

void FlipByteAt(const fs::path& file, std::uintmax_t offset) {
    std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
    stream.seekg(static_cast<std::streamoff>(offset));
    char byte = 0;
    stream.read(&byte, 1);
    byte = static_cast<char>(byte ^ 0x5A);
    stream.seekp(static_cast<std::streamoff>(offset));
    stream.write(&byte, 1);
}

const StoredMember* Find(const ArchiveReader& reader, const std::string& name) {
    for (const StoredMember& member : reader.members()) {
        if (member.name == name) return &member;
    }
    return nullptr;
}

class MemberExtractionTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        source_ = root_ / "src";
        out_ = root_ / "out";
        fs::create_directories(source_ / "写真");
        fs::create_directories(out_);
        WriteFile(source_ / "日記.txt", SampleText(200000), kTime);
        WriteFile(source_ / "写真" / "猫.bin", RandomBytes(70000), kTime + 2);
        WriteFile(source_ / "empty.txt", "", kTime + 4);
    }

    std::unique_ptr<ArchiveReader> Open(const fs::path& archive, ArchiveKind kind) {
        std::string error;
        auto reader = ArchiveReader::Open(archive, kind, error);
        EXPECT_TRUE(reader) << error;
        return reader;
    }

    // Extracts every file member and checks it against the source tree.
    void ExpectRoundTrip(const ArchiveReader& reader) {
        int files = 0;
        for (const StoredMember& member : reader.members()) {
            if (member.isDirectory) continue;
            ++files;
            EXPECT_FALSE(member.unsafeName) << member.name;
            fs::path relative;
            for (const std::string& part : member.path) relative /= part;
            const fs::path target = out_ / ("file" + std::to_string(files));
            std::string error;
            ASSERT_TRUE(reader.ExtractToFile(member, target, error)) << member.name << error;
            EXPECT_EQ(ReadFile(target), ReadFile(source_ / relative)) << member.name;
            EXPECT_EQ(member.unixTime / 2, ModifiedTime(source_ / relative) / 2) << member.name;
        }
        EXPECT_EQ(files, 3);
    }

    fs::path source_, out_;
};

TEST_F(MemberExtractionTest, LzhMembersComeBackWholeWithTheirNamesAndTimes) {
    const fs::path archive = root_ / "backup.lzh";
    std::string output;
    ASSERT_EQ(archiver::Unlha(
                  "u -r2x1a2 \"" + archive.string() + "\" \"" + source_.string() + "\\\"", output),
              0)
        << output;
    const auto reader = Open(archive, ArchiveKind::Lzh);
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->damaged());
    ASSERT_NE(Find(*reader, "写真\\猫.bin"), nullptr);
    ExpectRoundTrip(*reader);
}

TEST_F(MemberExtractionTest, ZipMembersOfAnotherToolComeBackWhole) {
    if (!HasTool("zip")) GTEST_SKIP() << "zip is not installed";
    const fs::path archive = root_ / "backup.zip";
    ASSERT_EQ(RunTool("cd " + Quote(source_) + " && zip -qr " + Quote(archive) + " .").exitCode, 0);
    const auto reader = Open(archive, ArchiveKind::Zip);
    ASSERT_TRUE(reader);
    ASSERT_NE(Find(*reader, "写真\\猫.bin"), nullptr);
    ExpectRoundTrip(*reader);
}

TEST_F(MemberExtractionTest, ADamagedMemberIsReportedAndLeavesNoFile) {
    fs::remove_all(source_ / "写真");
    fs::remove(source_ / "empty.txt");
    const fs::path lzh = root_ / "backup.lzh";
    std::string output;
    ASSERT_EQ(archiver::Unlha("u \"" + lzh.string() + "\" \"" + source_.string() + "\\\"", output),
              0);
    FlipByteAt(lzh, fs::file_size(lzh) / 2);
    const fs::path zip = root_ / "backup.zip";
    if (HasTool("zip")) {
        ASSERT_EQ(
            RunTool("cd " + Quote(source_) + " && zip -q0 " + Quote(zip) + " 日記.txt").exitCode,
            0);
        FlipByteAt(zip, fs::file_size(zip) / 2);
    }
    for (const auto& [archive, kind] :
         {std::pair{lzh, ArchiveKind::Lzh}, std::pair{zip, ArchiveKind::Zip}}) {
        if (!fs::exists(archive)) continue;
        const auto reader = Open(archive, kind);
        ASSERT_TRUE(reader);
        const StoredMember* member = Find(*reader, "日記.txt");
        ASSERT_NE(member, nullptr);
        const fs::path target = out_ / "日記.txt";
        std::string error;
        EXPECT_FALSE(reader->ExtractToFile(*member, target, error)) << archive;
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(fs::exists(target)) << archive;
    }
}

TEST_F(MemberExtractionTest, NamesLeavingTheTargetAreRefusedAndAnExistingFileIsNotOverwritten) {
    if (RunTool("python3 -c 'import zipfile'").exitCode != 0) GTEST_SKIP() << "no python3";
    const fs::path archive = root_ / "evil.zip";
    ASSERT_EQ(RunTool("python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                      "z.writestr('../evil.txt','x'); z.writestr('/abs.txt','y'); "
                      "z.writestr('ok.txt','z'); z.close()\" " +
                      Quote(archive))
                  .exitCode,
              0);
    const auto reader = Open(archive, ArchiveKind::Zip);
    ASSERT_TRUE(reader);
    ASSERT_EQ(reader->members().size(), 3u);
    std::string error;
    for (const StoredMember& member : reader->members()) {
        // A leading separator is dropped as other readers drop it: "/abs.txt"
        // lands inside the target as abs.txt.
        const bool safe = member.name == "ok.txt" || member.name == "abs.txt";
        EXPECT_EQ(member.unsafeName, !safe) << member.name;
        const fs::path target = out_ / "x";
        EXPECT_EQ(reader->ExtractToFile(member, target, error), safe) << member.name;
        fs::remove(target);
    }
    // The target must be new: a file already there is never written through.
    WriteFile(out_ / "taken", "keep");
    EXPECT_FALSE(reader->ExtractToFile(*Find(*reader, "ok.txt"), out_ / "taken", error));
    EXPECT_EQ(ReadFile(out_ / "taken"), "keep");
    EXPECT_FALSE(archiver::StaysInside({"a", "..", "b"}));
    EXPECT_FALSE(archiver::StaysInside({}));
    EXPECT_TRUE(archiver::StaysInside({"写真", "猫.bin"}));
}

TEST_F(MemberExtractionTest, SomethingThatIsNoArchiveIsNotOpened) {
    WriteFile(root_ / "notes.lzh", "just text, not an archive");
    std::string error;
    EXPECT_FALSE(ArchiveReader::Open(root_ / "notes.lzh", ArchiveKind::Lzh, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ArchiveReader::Open(root_ / "notes.lzh", ArchiveKind::Zip, error));
}

}  // namespace
