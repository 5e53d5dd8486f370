// Updates of ZIP archives written by other tools: a file that is not a ZIP is left alone; a
// self-extractor's program stays; encrypted members stay; names written with "\" match
// their files; names Info-ZIP stored as UTF-8 without the flag read as UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "archive_test_support.h"
#include "archiver/archiver.h"

namespace {

using namespace archiver_test;

class ForeignZipTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        source_ = root_ / "src";
        fs::create_directories(source_);
    }
    int Update(const fs::path& archive, std::string& output) const {
        return archiver::Zip("-u \"" + archive.string() + "\" \"" + source_.string() + "\\\" *.*",
                             output);
    }
    fs::path source_;
};

TEST_F(ForeignZipTest, FileThatIsNoZipIsNeverReplaced) {
    WriteFile(source_ / "a.txt", "a file", 1700000000);
    std::string zeroed(5000, 'x');
    zeroed[0] = '\0';
    for (const std::string& bytes : {zeroed, SampleText(3000), std::string("PK\5\6", 4)}) {
        const fs::path archive = root_ / "target.zip";
        WriteFile(archive, bytes);
        std::string output;
        EXPECT_NE(Update(archive, output), 0);
        EXPECT_NE(output.find(archive.string()), std::string::npos) << output;
        EXPECT_NE(output.find("更新しません"), std::string::npos) << output;
        EXPECT_EQ(ReadFile(archive), bytes);
        EXPECT_TRUE(HiddenFilesIn(root_).empty());
    }
}

// A self-extractor's program before the archive stays as it is, whether `zip -A` adjusted
// the offsets to it or not; the updated archive counts its offsets from the file's start.
TEST_F(ForeignZipTest, ProgramBeforeTheArchiveIsKept) {
    if (!HasTool("zip") || !HasTool("unzip")) GTEST_SKIP() << "zip and unzip are not installed";
    WriteFile(source_ / "a.txt", "a file", 1700000000);
    WriteFile(source_ / "b.txt", "b file", 1700000000);
    const fs::path made = root_ / "made.zip";
    ASSERT_EQ(
        RunTool("cd " + Quote(source_) + " && zip -q " + Quote(made) + " a.txt b.txt").exitCode, 0);
    const std::string program = "MZ" + RandomBytes(4000, 5);
    for (const bool adjusted : {true, false}) {
        SCOPED_TRACE(adjusted ? "adjusted" : "as appended");
        const fs::path sfx = root_ / "sfx.zip";
        WriteFile(sfx, program + ReadFile(made));
        if (adjusted) {
            ASSERT_EQ(RunTool("zip -qA " + Quote(sfx)).exitCode, 0);
        }
        WriteFile(source_ / "a.txt", "changed file", 1700000100);
        std::string output;
        ASSERT_EQ(Update(sfx, output), 0) << output;
        EXPECT_EQ(output, "0 added, 1 replaced");
        EXPECT_EQ(ReadFile(sfx).substr(0, program.size()), program);
        const CommandResult test = RunTool("unzip -t " + Quote(sfx));
        EXPECT_EQ(test.exitCode, 0) << test.output;
        EXPECT_EQ(RunTool("unzip -p " + Quote(sfx) + " a.txt").output, "changed file");
        EXPECT_EQ(RunTool("unzip -p " + Quote(sfx) + " b.txt").output, "b file");
        WriteFile(source_ / "a.txt", "a file", 1700000000);
    }
}

TEST_F(ForeignZipTest, BackslashNamesMatchTheirFiles) {
    if (!HasTool("python3")) GTEST_SKIP() << "python3 is not installed";
    const fs::path archive = root_ / "slashes.zip";
    ASSERT_EQ(RunTool("python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1],'w'); "
                      "z.writestr('sub\\\\\\\\c.txt','old'); z.writestr('\\\\\\\\lead.txt','x'); "
                      "z.close()\" " +
                      Quote(archive))
                  .exitCode,
              0);
    fs::create_directories(source_ / "sub");
    WriteFile(source_ / "sub" / "c.txt", "the new contents", 1700000000);
    std::string output;
    ASSERT_EQ(archiver::Zip("-ur \"" + archive.string() + "\" \"" + source_.string() + "\\\" *.*",
                            output),
              0)
        << output;
    EXPECT_EQ(output, "0 added, 1 replaced");
}

// zip on Linux stores "é.txt" as its UTF-8 bytes with neither the UTF-8 flag nor a Unicode
// path field; read as CP932 they would be "ﾃｩ.txt" and the update would add é.txt twice.
TEST_F(ForeignZipTest, UnflaggedUtf8NamesFromUnixToolsMatchTheirFiles) {
    if (!HasTool("zip") || !HasTool("unzip")) GTEST_SKIP() << "zip and unzip are not installed";
    WriteFile(source_ / "é.txt", "accent", 1700000000);
    WriteFile(source_ / "ﾊｲ.txt", "kana", 1700000000);
    const fs::path archive = root_ / "made.zip";
    ASSERT_EQ(RunTool("cd " + Quote(source_) + " && LANG=C.UTF-8 zip -q " + Quote(archive) +
                      " é.txt ﾊｲ.txt")
                  .exitCode,
              0);
    std::string output;
    WriteFile(source_ / "é.txt", "accent, changed", 1700000100);
    ASSERT_EQ(Update(archive, output), 0) << output;
    const CommandResult listing = RunTool("unzip -Z1 " + Quote(archive));
    EXPECT_EQ(listing.output, "é.txt\nﾊｲ.txt\n");
    EXPECT_EQ(RunTool("unzip -p " + Quote(archive) + " é.txt").output, "accent, changed");
}

TEST_F(ForeignZipTest, EncryptedMemberStaysAndTheEntryFailsNamingIt) {
    if (!HasTool("zip") || !HasTool("unzip")) GTEST_SKIP() << "zip and unzip are not installed";
    WriteFile(source_ / "secret.txt", "secret", 1600000000);
    WriteFile(source_ / "plain.txt", "plain", 1600000000);
    const fs::path archive = root_ / "locked.zip";
    ASSERT_EQ(RunTool("cd " + Quote(source_) + " && zip -q -P pw " + Quote(archive) +
                      " secret.txt && zip -q " + Quote(archive) + " plain.txt")
                  .exitCode,
              0);
    WriteFile(source_ / "secret.txt", "secret, changed", 1700000000);
    WriteFile(source_ / "plain.txt", "plain, changed", 1700000000);
    for (int run = 0; run < 2; ++run) {
        std::string output;
        EXPECT_NE(Update(archive, output), 0);
        EXPECT_NE(output.find("secret.txt"), std::string::npos) << output;
        EXPECT_NE(output.find("暗号化"), std::string::npos) << output;
    }
    EXPECT_EQ(RunTool("unzip -p -P pw " + Quote(archive) + " secret.txt").output, "secret");
    EXPECT_EQ(RunTool("unzip -p " + Quote(archive) + " plain.txt").output, "plain, changed");
}

}  // namespace
