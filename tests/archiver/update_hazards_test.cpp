// Updates facing a file system that changes under them or is not laid out plainly: a file
// swapped for a FIFO after the folder was listed, an archive reached through a symbolic link,
// a file rewritten within the second of its member.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "archive_test_support.h"
#include "archiver/archiver.h"
#include "platform/system_calls.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;

// When the folder walk examines `trigger`, replaces `victim` (already listed) by a FIFO.
class SwapForFifo : public platform::sys::FaultSeam {
  public:
    SwapForFifo(fs::path trigger, fs::path victim)
        : trigger_(std::move(trigger)), victim_(std::move(victim)) {}
    int ErrnoFor(platform::sys::Call call, const std::string& path) override {
        if (call == platform::sys::Call::Stat && path == trigger_.string() && !swapped_) {
            swapped_ = true;
            ::unlink(victim_.c_str());
            ::mkfifo(victim_.c_str(), 0644);
        }
        return 0;
    }

  private:
    fs::path trigger_;
    fs::path victim_;
    bool swapped_ = false;
};

struct ChildOutcome {
    bool finished = false;
    int code = -1;
    std::string output;
};

// Runs `call` in a child process and kills it when it has not ended within the limit, so a
// call that blocks fails the test instead of hanging it.
ChildOutcome RunWithTimeout(const fs::path& outputFile,
                            const std::function<int(std::string&)>& call) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::string output;
        const int code = call(output);
        WriteFile(outputFile, output);
        ::_exit(code);
    }
    ChildOutcome outcome;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(child, &status, WNOHANG) == child) {
            outcome.finished = true;
            outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            outcome.output = ReadFile(outputFile);
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return outcome;
}

class UpdateHazardsTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        source_ = root_ / "src";
        fs::create_directories(source_);
        fs::create_directories(root_ / "out");
    }
    std::string UpdateLine(const std::string& kind, const fs::path& archive) const {
        const std::string paths = "\"" + archive.string() + "\" \"" + source_.string() + "\\\"";
        return kind == "lzh" ? "u " + paths : "-u " + paths + " *.*";
    }
    int Update(const std::string& kind, const fs::path& archive, std::string& output) const {
        return kind == "lzh" ? archiver::Unlha(UpdateLine(kind, archive), output)
                             : archiver::Zip(UpdateLine(kind, archive), output);
    }

    fs::path source_;
};

TEST_F(UpdateHazardsTest, FileSwappedForAFifoFailsTheUpdateNamingIt) {
    for (const std::string kind : {"zip", "lzh"}) {
        SCOPED_TRACE(kind);
        const fs::path archive = root_ / "out" / ("backup." + kind);
        WriteFile(source_ / "a.txt", "first", kTime);
        WriteFile(source_ / "b.txt", "second", kTime);
        std::string output;
        ASSERT_EQ(Update(kind, archive, output), 0) << output;
        const std::string before = ReadFile(archive);
        WriteFile(source_ / "a.txt", "changed", kTime + 10);

        SwapForFifo seam(source_ / "b.txt", source_ / "a.txt");
        platform::sys::InstallFaultSeam(&seam);
        const ChildOutcome outcome = RunWithTimeout(
            root_ / "child-output", [&](std::string& text) { return Update(kind, archive, text); });
        platform::sys::InstallFaultSeam(nullptr);

        ASSERT_TRUE(outcome.finished) << "the update waited on the FIFO";
        EXPECT_EQ(outcome.code, 4) << outcome.output;
        EXPECT_EQ(outcome.output, (source_ / "a.txt").string() + ": not a regular file");
        EXPECT_EQ(ReadFile(archive), before);
        EXPECT_TRUE(HiddenFilesIn(archive.parent_path()).empty());
        fs::remove(source_ / "a.txt");
    }
}

// A FIFO where the archive should be is refused at once, by the update and by the listing.
TEST_F(UpdateHazardsTest, FifoAtTheArchivePathIsRefusedWithoutWaiting) {
    WriteFile(source_ / "a.txt", "a", kTime);
    for (const std::string kind : {"zip", "lzh"}) {
        SCOPED_TRACE(kind);
        const fs::path archive = root_ / "out" / ("fifo." + kind);
        ASSERT_EQ(::mkfifo(archive.c_str(), 0644), 0);
        const ChildOutcome outcome = RunWithTimeout(root_ / "child-output", [&](std::string& text) {
            const int code = Update(kind, archive, text);
            const bool listed = kind == "lzh" ? archiver::UnlhaOpenArchive(archive.string()) != 0
                                              : archiver::UnZipOpenArchive(archive.string()) != 0;
            return listed ? 100 : code;
        });
        ASSERT_TRUE(outcome.finished) << "the update waited on the FIFO";
        EXPECT_EQ(outcome.code, 3) << outcome.output;
        EXPECT_TRUE(fs::is_fifo(archive));
    }
}

// A destination that is a link to an archive elsewhere (absolute, relative, through a second
// link, or to an archive not made yet) updates that archive; the links stay links and no
// temporary file is left in either folder.
TEST_F(UpdateHazardsTest, ArchiveBehindASymbolicLinkIsUpdatedWhereItIs) {
    const fs::path elsewhere = root_ / "elsewhere";
    fs::create_directories(elsewhere);
    for (const std::string kind : {"zip", "lzh"}) {
        SCOPED_TRACE(kind);
        const fs::path real = elsewhere / ("real." + kind);
        const fs::path link = root_ / "out" / ("link." + kind);
        const fs::path second = root_ / "out" / ("second." + kind);
        fs::remove_all(source_);
        WriteFile(source_ / "a.txt", "first", kTime);
        ASSERT_EQ(::symlink(("../elsewhere/real." + kind).c_str(), link.c_str()), 0);
        ASSERT_EQ(::symlink(link.c_str(), second.c_str()), 0);

        std::string output;
        ASSERT_EQ(Update(kind, link, output), 0) << output;
        EXPECT_TRUE(fs::is_symlink(link));
        ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(real)));
        WriteFile(source_ / "b.txt", "second", kTime);
        ASSERT_EQ(Update(kind, second, output), 0) << output;
        EXPECT_EQ(output, "1 added, 0 replaced");
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_TRUE(fs::is_symlink(second));
        const CommandResult listed = RunTool("bsdtar -tf " + Quote(real));
        EXPECT_EQ(listed.output, "a.txt\nb.txt\n");
        EXPECT_TRUE(HiddenFilesIn(root_ / "out").empty());
        EXPECT_TRUE(HiddenFilesIn(elsewhere).empty());
    }
}

// A file rewritten within the second of its member, with another size, is replaced; so is
// one that is newer. Against MS-DOS times (a ZIP of zip -X) the two-second steps and a shift
// of exactly one hour (daylight saving) do not count as changes.
TEST_F(UpdateHazardsTest, AnotherSizeMeansChangedAndDosTimesKeepTheirTolerances) {
    for (const std::string kind : {"zip", "lzh"}) {
        SCOPED_TRACE(kind);
        const fs::path archive = root_ / "out" / ("same-second." + kind);
        WriteFile(source_ / "a.txt", "10000001", kTime);
        std::string output;
        ASSERT_EQ(Update(kind, archive, output), 0) << output;
        WriteFile(source_ / "a.txt", "1000000005", kTime);
        ASSERT_EQ(Update(kind, archive, output), 0) << output;
        EXPECT_EQ(output, "0 added, 1 replaced");
        ASSERT_EQ(Update(kind, archive, output), 0) << output;
        EXPECT_EQ(output, "0 added, 0 replaced");
        fs::remove(source_ / "a.txt");
    }

    const fs::path archive = root_ / "out" / "dos-times.zip";
    WriteFile(source_ / "d.txt", "dos", kTime);
    const CommandResult made =
        RunTool("cd " + Quote(source_) + " && zip -qX " + Quote(archive) + " d.txt");
    ASSERT_EQ(made.exitCode, 0) << made.output;
    std::string output;
    for (const std::int64_t unchanged : {kTime + 1, kTime + 3600, kTime + 3601, kTime - 3600}) {
        SetModifiedTime(source_ / "d.txt", unchanged);
        ASSERT_EQ(Update("zip", archive, output), 0) << output;
        EXPECT_EQ(output, "0 added, 0 replaced") << unchanged - kTime;
    }
    SetModifiedTime(source_ / "d.txt", kTime + 3602);
    ASSERT_EQ(Update("zip", archive, output), 0) << output;
    EXPECT_EQ(output, "0 added, 1 replaced");
}

}  // namespace
