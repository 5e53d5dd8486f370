// Files whose host names are not UTF-8 (Shift_JIS from an old disk, or bytes no code page
// reads) are stored under their bytes, listed, and found again by later updates.
#include <gtest/gtest.h>

#include "archive_test_support.h"
#include "archiver/archiver.h"

namespace {

using namespace archiver_test;

constexpr std::int64_t kTime = 1600000000;
const std::string kShiftJisName = "\x8E\xCA\x90\x5E.txt";  // 写真.txt in CP932
const std::string kRawName = "\xFDraw\x80.txt";            // neither UTF-8 nor CP932

std::vector<std::string> Listed(const std::string& kind, const fs::path& archive) {
    const bool lzh = kind == "lzh";
    std::vector<std::string> names;
    const archiver::ArchiveHandle handle = lzh ? archiver::UnlhaOpenArchive(archive.string())
                                               : archiver::UnZipOpenArchive(archive.string());
    archiver::EntryInfo entry;
    for (int r = lzh ? archiver::UnlhaFindFirst(handle, "*.*", entry)
                     : archiver::UnZipFindFirst(handle, "*.*", entry);
         r == 0; r = lzh ? archiver::UnlhaFindNext(handle, entry)
                         : archiver::UnZipFindNext(handle, entry)) {
        names.push_back(entry.name);
    }
    lzh ? archiver::UnlhaCloseArchive(handle) : archiver::UnZipCloseArchive(handle);
    std::sort(names.begin(), names.end());
    return names;
}

using HostNameBytesTest = UpdateFolderTest;

TEST_F(HostNameBytesTest, NamesThatAreNotUtf8AreStoredListedAndMatchedAgain) {
    for (const std::string kind : {"lzh", "zip"}) {
        SCOPED_TRACE(kind);
        const fs::path source = root_ / ("src-" + kind);
        const fs::path archive = root_ / ("backup." + kind);
        WriteFile(source / kShiftJisName, "shift_jis", kTime);
        WriteFile(source / kRawName, "raw", kTime);
        WriteFile(source / ("\x8E\xCA" + std::string("dir")) / "inner.txt", "inner", kTime);
        WriteFile(source / "plain.txt", "plain", kTime);
        ASSERT_EQ(Update(kind, archive, source), 0) << output_;
        EXPECT_EQ(output_, "4 added, 0 replaced");
        const std::vector<std::string> names = Listed(kind, archive);
        ASSERT_EQ(names.size(), 4u);
        EXPECT_NE(std::find(names.begin(), names.end(), "写真.txt"), names.end());
        EXPECT_NE(std::find(names.begin(), names.end(), "写dir\\inner.txt"), names.end());
        EXPECT_NE(std::find(names.begin(), names.end(), kRawName), names.end());
        // The bytes themselves are what the archive holds.
        const std::string bytes = ReadFile(archive);
        EXPECT_NE(bytes.find(kShiftJisName), std::string::npos);
        EXPECT_NE(bytes.find(kRawName), std::string::npos);

        ASSERT_EQ(Update(kind, archive, source), 0) << output_;
        EXPECT_EQ(output_, "0 added, 0 replaced");
        WriteFile(source / kShiftJisName, "shift_jis, longer", kTime + 10);
        WriteFile(source / kRawName, "raw, longer", kTime + 10);
        ASSERT_EQ(Update(kind, archive, source), 0) << output_;
        EXPECT_EQ(output_, "0 added, 2 replaced");
        EXPECT_EQ(Listed(kind, archive).size(), 4u);
        if (kind == "lzh") {
            std::string output;
            ASSERT_EQ(
                archiver::Unlha(
                    "d -jn \"" + archive.string() + "\" \"" + source.string() + "\\\" *.*", output),
                0)
                << output;
            EXPECT_EQ(output, "0 deleted");
            if (HasTool("lhasa")) {
                const CommandResult tested = RunTool("lhasa t " + Quote(archive));
                EXPECT_EQ(tested.exitCode, 0) << tested.output;
            }
        } else {
            const CommandResult tested = RunTool("unzip -t " + Quote(archive));
            EXPECT_EQ(tested.exitCode, 0) << tested.output;
        }
    }
}

// In an LZH header the byte 0xFF separates folders: a name holding it cannot be stored. The
// rest is, and the update fails naming that file.
TEST_F(HostNameBytesTest, LzhPassesOverAndNamesAFileWhoseNameHoldsByteFF) {
    const fs::path source = root_ / "src";
    const fs::path archive = root_ / "ff.lzh";
    WriteFile(source / "\xFF\xFE.txt", "ff", kTime);
    WriteFile(source / "plain.txt", "plain", kTime);
    EXPECT_EQ(Update("lzh", archive, source), 4);
    EXPECT_EQ(output_, "1 added, 0 replaced; " + (source / "\xFF\xFE.txt").string() +
                           ": a name with the byte 0xFF cannot be stored in an LZH archive");
    EXPECT_EQ(Listed("lzh", archive), (std::vector<std::string>{"plain.txt"}));
}

// A Shift_JIS name beside its own UTF-8 spelling would list as one member: the update fails,
// naming both files, and writes nothing.
TEST_F(HostNameBytesTest, TwoFilesThatWouldListAlikeFailTheUpdateNamingBoth) {
    for (const std::string kind : {"lzh", "zip"}) {
        SCOPED_TRACE(kind);
        const fs::path source = root_ / ("src-" + kind);
        const fs::path archive = root_ / ("clash." + kind);
        WriteFile(source / kShiftJisName, "shift_jis", kTime);
        WriteFile(source / "写真.txt", "utf-8", kTime);
        EXPECT_EQ(Update(kind, archive, source), 4);
        EXPECT_NE(output_.find((source / kShiftJisName).string()), std::string::npos) << output_;
        EXPECT_NE(output_.find((source / "写真.txt").string()), std::string::npos) << output_;
        EXPECT_FALSE(fs::exists(archive));
    }
}

}  // namespace
