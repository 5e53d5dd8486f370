#include "archive_test_support.h"

#include "archiver/archiver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace archiver_test {

CommandResult RunTool(const std::string& command) {
    CommandResult result;
    const std::string full = "LC_ALL=C.UTF-8 " + command + " 2>&1";
    FILE* pipe = ::popen(full.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.output.append(buffer.data(), got);
    }
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool HasTool(const std::string& name) {
    return RunTool("command -v " + name + " >/dev/null").exitCode == 0;
}

std::string Quote(const fs::path& path) {
    std::string quoted = "'";
    for (const char c : path.string()) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

void WriteFile(const fs::path& path, const std::string& contents, std::int64_t mtime) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    out.close();
    if (mtime != 0) SetModifiedTime(path, mtime);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void SetModifiedTime(const fs::path& path, std::int64_t mtime) {
    const struct timespec times[2] = {{static_cast<time_t>(mtime), 0},
                                      {static_cast<time_t>(mtime), 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::int64_t ModifiedTime(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mtim.tv_sec;
}

std::string SampleText(std::size_t size, unsigned seed) {
    static const char* const kWords[] = {
        "backup",   "archive", "folder",  "the",    "of",        "and",        "a",
        "file",     "is",      "written", "to",     "temporary", "renamed",    "when",
        "complete", "kibako",  "member",  "header", "data",      "compressed", "time",
        "name",     "リスト",  "写真",    "保存",   "\n"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size) {
        text += kWords[random() % (sizeof kWords / sizeof kWords[0])];
        text += random() % 9 == 0 ? ".\n" : " ";
    }
    text.resize(size);
    return text;
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            names.push_back(entry.path().lexically_relative(folder).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> HiddenFilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name[0] == '.') names.push_back(name);
    }
    return names;
}

void TempFolderTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "kibako-archiver-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
}

void TempFolderTest::TearDown() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

int UpdateFolderTest::Update(const std::string& kind, const fs::path& archive,
                             const fs::path& source) {
    const std::string paths = "\"" + archive.string() + "\" \"" + source.string() + "\\\"";
    return kind == "lzh" ? archiver::Unlha("u -r2x1a2 " + paths, output_)
                         : archiver::Zip("-ur " + paths + " *.*", output_);
}

}  // namespace archiver_test
