// Typed commands with awkward folder names, and the command-line parser's refusal of text it
// cannot read in exactly one way.
#include <gtest/gtest.h>
#include <unistd.h>

#include "archive_test_support.h"
#include "archiver/archiver.h"
#include "archiver/command_line.h"
#include "archiver/return_code.h"

namespace {

using namespace archiver_test;
using archiver::CommandResult;

constexpr std::int64_t kTime = 1600000000;

// Folder names a Linux user can make, each awkward for a command line or a shell.
const char* const kAwkwardNames[] = {
    "my \"best\" photos",
    "\"",
    "ends with quote\"",
    "-r2x1a2",
    "- dash",
    "it's",
    "$HOME & `x`",
    "a;b",
    "*.*",
    "100% #1",
    "trailing blank ",
    "写真 \"旧\"",
};

class TypedCommandTest : public TempFolderTest {
  protected:
    archiver::UnlhaCommand LzhUpdate(const fs::path& source, const fs::path& archive) const {
        archiver::UnlhaCommand command;
        command.recursive = true;
        command.archive = archive.string();
        command.baseFolder = source.string();
        return command;
    }
    archiver::ZipCommand ZipUpdate(const fs::path& source, const fs::path& archive) const {
        archiver::ZipCommand command;
        command.recursive = true;
        command.archive = archive.string();
        command.baseFolder = source.string();
        command.patterns = {"*.*"};
        return command;
    }
};

// Each awkward name as the backed-up folder, as a sub-folder in it, and in the archive's
// own folder: everything reaches the archive, as independent readers see it.
TEST_F(TypedCommandTest, AwkwardFolderNamesAreBackedUpAsTheyAre) {
    for (const char* name : kAwkwardNames) {
        SCOPED_TRACE(name);
        const fs::path case_root = root_ / ("case" + std::to_string(&name - kAwkwardNames));
        const fs::path source = case_root / name;
        WriteFile(source / "top.txt", "top", kTime);
        WriteFile(source / name / "inner.txt", "inner", kTime);
        fs::create_directories(case_root / "out" / name);
        const fs::path lzh = case_root / "out" / name / "b.lzh";
        const fs::path zip = case_root / "out" / name / "b.zip";

        const CommandResult lzhResult = archiver::RunUnlha(LzhUpdate(source, lzh));
        ASSERT_TRUE(lzhResult.ok()) << lzhResult.message;
        const auto lhasa = RunTool("lhasa t " + Quote(lzh));
        EXPECT_EQ(lhasa.exitCode, 0) << lhasa.output;
        const auto listed = RunTool("bsdtar -tf " + Quote(lzh));
        EXPECT_NE(listed.output.find(std::string(name) + "/inner.txt"), std::string::npos)
            << listed.output;
        EXPECT_NE(listed.output.find("top.txt"), std::string::npos);

        const CommandResult zipResult = archiver::RunZip(ZipUpdate(source, zip));
        ASSERT_TRUE(zipResult.ok()) << zipResult.message;
        const auto unzip = RunTool("unzip -t " + Quote(zip));
        EXPECT_EQ(unzip.exitCode, 0) << unzip.output;
        const auto zipListed = RunTool("bsdtar -tf " + Quote(zip));
        EXPECT_NE(zipListed.output.find(std::string(name) + "/inner.txt"), std::string::npos)
            << zipListed.output;
    }
}

// The same names through the command line: what it can carry round-trips, what it cannot
// (a quotation mark) is refused with a clear error and changes nothing.
TEST_F(TypedCommandTest, CommandLineTextRoundTripsOrIsRefused) {
    for (const char* name : kAwkwardNames) {
        SCOPED_TRACE(name);
        const fs::path source = root_ / name;
        const archiver::UnlhaCommand command = LzhUpdate(source, root_ / "b.lzh");
        const std::string line = archiver::UnlhaCommandLine(command);
        std::string error;
        const auto parsed = archiver::ParseUnlhaCommand(line, error);
        if (std::string(name).find('"') != std::string::npos) {
            EXPECT_FALSE(parsed) << line;
            EXPECT_NE(error.find("quotation mark"), std::string::npos) << error;
            std::string output;
            EXPECT_EQ(archiver::Unlha(line, output), archiver::kBadCommandLine);
            EXPECT_FALSE(fs::exists(root_ / "b.lzh"));
            continue;
        }
        ASSERT_TRUE(parsed) << line << ": " << error;
        EXPECT_EQ(parsed->baseFolder, command.baseFolder);
        EXPECT_EQ(parsed->archive, command.archive);
        EXPECT_TRUE(parsed->recursive);
        const auto zip = archiver::ParseZipCommand(
            archiver::ZipCommandLine(ZipUpdate(source, root_ / "b.zip")), error);
        ASSERT_TRUE(zip) << error;
        EXPECT_EQ(zip->baseFolder, command.baseFolder);
        EXPECT_EQ(zip->patterns, std::vector<std::string>{"*.*"});
    }
}

TEST(CommandLineParser, RefusesTextItCannotReadOneWay) {
    struct Case {
        const char* line;
        const char* errorPart;
    };
    const Case cases[] = {
        {"u \"C:\\my \"best\" photos\\\"", "quotation mark inside a word"},
        {"u \"a.lzh\"\"C:\\s\\\"", "quotation mark inside a word"},
        {"u a\"b\".lzh \"C:\\s\\\"", "quotation mark inside a word"},
        {"u \"a.lzh\" C:\\s\\\"", "quotation mark inside a word"},
        {"u \"a.lzh\" \"C:\\s\\", "unbalanced"},
        {"\"u\" \"a.lzh\" \"C:\\s\\\"", "unknown command"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(archiver::ParseUnlhaCommand(c.line, error)) << c.line;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.line << ": " << error;
    }
    std::string error;
    EXPECT_FALSE(archiver::ParseZipCommand("\"-ur\" \"a.zip\" \"C:\\s\\\" *.*", error));
    EXPECT_FALSE(archiver::ParseZipCommand("-ur \"a.zip\" \"C:\\my \"x\"\\\" *.*", error));
    EXPECT_NE(error.find("quotation mark inside a word"), std::string::npos) << error;
}

TEST(CommandLineParser, AQuotedWordIsNeverASwitch) {
    std::string error;
    const auto command = archiver::ParseUnlhaCommand("u \"-x.lzh\" \"-jn\\\"", error);
    ASSERT_TRUE(command) << error;
    EXPECT_EQ(command->archive, "-x.lzh");
    EXPECT_EQ(command->baseFolder, "-jn");
    EXPECT_FALSE(command->recursive);
    const auto zip = archiver::ParseZipCommand("- \"-u\" \"-r\\\" *.*", error);
    ASSERT_TRUE(zip) << error;
    EXPECT_FALSE(zip->updateOnly);
    EXPECT_FALSE(zip->recursive);
    EXPECT_EQ(zip->archive, "-u");
}

// A failure's message names the file it concerns.
TEST_F(TypedCommandTest, FailuresNameTheirFile) {
    const fs::path source = root_ / "src \"x\"";
    WriteFile(source / "a.txt", "alpha", kTime);
    // Reading the start of a process's memory fails with an I/O error, even for root.
    ASSERT_EQ(::symlink("/proc/self/mem", (source / "unreadable").c_str()), 0);
    const CommandResult lzh = archiver::RunUnlha(LzhUpdate(source, root_ / "b.lzh"));
    EXPECT_EQ(lzh.code, archiver::kSourceUnreadable);
    EXPECT_NE(lzh.message.find((source / "unreadable").string()), std::string::npos) << lzh.message;
    const CommandResult zip = archiver::RunZip(ZipUpdate(source, root_ / "b.zip"));
    EXPECT_EQ(zip.code, archiver::kSourceUnreadable);
    EXPECT_NE(zip.message.find((source / "unreadable").string()), std::string::npos) << zip.message;
    EXPECT_FALSE(fs::exists(root_ / "b.lzh"));
    EXPECT_FALSE(fs::exists(root_ / "b.zip"));

    WriteFile(root_ / "damaged.lzh", std::string(200, 'x'));
    fs::remove(source / "unreadable");
    const CommandResult damaged = archiver::RunUnlha(LzhUpdate(source, root_ / "damaged.lzh"));
    EXPECT_EQ(damaged.code, archiver::kArchiveDamaged);
    EXPECT_NE(damaged.message.find((root_ / "damaged.lzh").string()), std::string::npos)
        << damaged.message;
}

// A file whose name cannot be stored is passed over: the rest is written, the result names
// the file as a line of its own, and the code still says that not all was stored.
TEST_F(TypedCommandTest, APartialUpdateWritesTheRestAndListsWhatItPassedOver) {
    const fs::path source = root_ / "src";
    WriteFile(source / "a.txt", "alpha", kTime);
    WriteFile(source / "sub" / "time 10:30.txt", "colon", kTime);
    const fs::path lzh = root_ / "b.lzh";
    const fs::path zip = root_ / "b.zip";
    const CommandResult results[] = {archiver::RunUnlha(LzhUpdate(source, lzh)),
                                     archiver::RunZip(ZipUpdate(source, zip))};
    for (const CommandResult& result : results) {
        EXPECT_EQ(result.code, archiver::kSourceUnreadable) << result.message;
        ASSERT_EQ(result.failedEntries.size(), 1u) << result.message;
        EXPECT_EQ(result.failedEntries[0].rfind((source / "sub" / "time 10:30.txt").string(), 0),
                  0u)
            << result.failedEntries[0];
        EXPECT_NE(result.message.find(result.failedEntries[0]), std::string::npos);
        EXPECT_EQ(result.counts.added, 1);
    }
    for (const fs::path& archive : {lzh, zip}) {
        const auto listed = RunTool("bsdtar -tf " + Quote(archive));
        EXPECT_EQ(listed.exitCode, 0) << listed.output;
        EXPECT_NE(listed.output.find("a.txt"), std::string::npos) << listed.output;
        EXPECT_EQ(listed.output.find("10"), std::string::npos) << listed.output;
    }
}

}  // namespace
