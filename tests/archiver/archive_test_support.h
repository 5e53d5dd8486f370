// Helpers of the archiver tests: a temporary folder per test, files with chosen times, and
// running the independent archive tools of the system.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace archiver_test {

namespace fs = std::filesystem;

struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error
};

// Runs a shell command line (in the C.UTF-8 locale).
CommandResult RunTool(const std::string& command);
bool HasTool(const std::string& name);
std::string Quote(const fs::path& path);

void WriteFile(const fs::path& path, const std::string& contents, std::int64_t mtime = 0);
std::string ReadFile(const fs::path& path);
void SetModifiedTime(const fs::path& path, std::int64_t mtime);
std::int64_t ModifiedTime(const fs::path& path);

// Text that compresses like prose, and bytes that do not compress.
std::string SampleText(std::size_t size, unsigned seed = 1);
std::string RandomBytes(std::size_t size, unsigned seed = 1);

// Names of the entries in the folder (recursive, "/"-separated, files only), sorted.
std::vector<std::string> FilesBelow(const fs::path& folder);
// Files in the folder whose names begin with "." (temporary archives left behind).
std::vector<std::string> HiddenFilesIn(const fs::path& folder);

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    fs::path root_;
};

// A folder test that updates archives: "lzh" or "zip" `archive` from the files of `source`
// and its sub-folders, as the engine asks for it; the archiver's output in `output_`.
class UpdateFolderTest : public TempFolderTest {
  protected:
    int Update(const std::string& kind, const fs::path& archive, const fs::path& source);
    std::string output_;
};

}  // namespace archiver_test
