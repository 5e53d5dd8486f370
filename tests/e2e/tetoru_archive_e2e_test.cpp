// The real tetoru updating archives on a real file system: a destination that is a symbolic
// link to an archive kept elsewhere, and a source file whose name is not UTF-8.
#include "program_folder.h"
#include "support/text.h"

#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using e2e::Display;
using e2e::Finished;
using e2e::ProgramFolder;
using testing_support::S;

const std::string kShiftJisName = "\x8E\xCA\x90\x5E.txt";  // 写真.txt in CP932

TEST(TetoruArchives, LinkedDestinationsAndShiftJisNamesAreBackedUp) {
    ProgramFolder home;
    for (const QString& source : {S("c/zip"), S("c/lzh")}) {
        home.WriteFile(source + S("/plain.txt"), "plain", 1'600'000'000);
        const std::string raw = home.Host(source).toStdString() + "/" + kShiftJisName;
        const int fd = ::open(raw.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "shift_jis", 9), 9);
        ::close(fd);
    }
    home.WriteFile(S("d/real/keep.txt"), "");
    home.WriteFile(S("d/links/keep.txt"), "");
    for (const char* name : {"arc.zip", "arc.lzh"}) {
        const std::string link = home.Host(S("d/links/")).toStdString() + name;
        ASSERT_EQ(::symlink((std::string("../real/") + name).c_str(), link.c_str()), 0);
    }
    home.WriteDefinitions(
        {{S("C:\\zip"), S("D:\\links\\arc.ZIP")}, {S("C:\\lzh"), S("D:\\links\\arc.LZH")}});

    const Finished run = home.Run(e2e::BuiltProgram(S("src/tetoru/tetoru")), {}, Display::None);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(S("TETORU: 2 entries backed up, 0 failed")))
        << run.out.toStdString();
    for (const char* name : {"arc.zip", "arc.lzh"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(QFileInfo(home.Host(S("d/links/") + S(name))).isSymLink());
        const QByteArray archive = home.Read(S("d/real/") + S(name));
        EXPECT_TRUE(archive.contains(QByteArray::fromStdString(kShiftJisName)));
        EXPECT_TRUE(archive.contains("plain.txt"));
    }
    // Qt cannot remove a name that is not UTF-8 with the rest of the folder.
    for (const QString& source : {S("c/zip"), S("c/lzh")}) {
        ::unlink((home.Host(source).toStdString() + "/" + kShiftJisName).c_str());
    }
}

}  // namespace
