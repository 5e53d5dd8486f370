// The file grid's listing of real folders and real archives: order, names,
// icons, sizes, dates in two time zones, and damaged archives.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <ctime>
#include <optional>
#include <string>

#include "archiver/archiver.h"
#include "catalog/rows/file_icons.h"
#include "catalog/rows/file_list.h"
#include "engine/archiver_backend.h"
#include "support/temp_drives.h"
#include "support/text.h"

namespace catalog {
namespace {

using testing_support::TempDrives;

using testing_support::S;

std::vector<FileRow> Rows(const FileListing& listing) {
    std::vector<FileRow> rows;
    for (int r = 0; r < listing.Count(); ++r) rows.push_back(listing.Row(r));
    return rows;
}

QStringList Names(const FileListing& listing) {
    QStringList names;
    for (const FileRow& row : Rows(listing)) names << row.name;
    return names;
}

std::optional<FileRow> RowNamed(const FileListing& listing, const QString& name) {
    for (const FileRow& row : Rows(listing)) {
        if (row.name == name) return row;
    }
    return std::nullopt;
}

// Runs a shell command line in a folder; false when the tool failed.
bool RunShell(const QString& folder, const QString& command, QString* output = nullptr) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(S("LC_ALL"), S("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.start(S("/bin/sh"), {S("-c"), command});
    const bool done = process.waitForFinished(60000);
    if (output != nullptr) *output = QString::fromUtf8(process.readAll());
    return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool HasTool(const char* name) { return RunShell(S("/"), S("command -v ") + S(name)); }

// The system time zone for as long as it lives.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) : had_(qEnvironmentVariableIsSet("TZ")) {
        previous_ = qgetenv("TZ");
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone() {
        if (had_) {
            qputenv("TZ", previous_);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

  private:
    bool had_;
    QByteArray previous_;
};

constexpr qint64 kTime = 1'705'336'200;  // 2024-01-15 16:30:00 UTC

class FileListTest : public ::testing::Test {
  protected:
    FileListTest() { engine::ArchiverBackend::Library(); }  // installs the path resolver

    // C:\Data: files of several kinds, one empty, a sub-folder and a hidden file.
    void WriteSampleFolder() {
        drives.WriteFile(S("C:\\Data\\b.txt"), "bb", kTime);
        drives.WriteFile(S("C:\\Data\\A.TXT"), "a", kTime);
        drives.WriteFile(S("C:\\Data\\c.Txt"), QByteArray(1234, 'c'), kTime);
        drives.WriteFile(S("C:\\Data\\Makefile"), "all:", kTime);
        drives.WriteFile(S("C:\\Data\\notes.backup1"), "n", kTime);
        drives.WriteFile(S("C:\\Data\\z.exe"), "MZ", kTime);
        drives.WriteFile(S("C:\\Data\\photo.jpeg"), "jpeg", kTime);
        drives.WriteFile(S("C:\\Data\\empty.txt"), "", kTime);
        drives.WriteFile(S("C:\\Data\\.hidden.txt"), "h", kTime);
        drives.WriteFile(S("C:\\Data\\folder.txt\\inside.txt"), "i", kTime);
    }

    QString Host(const char* drivePath) const { return drives.Host(S(drivePath)); }

    TempDrives drives;
};

TEST(FileIcons, TheTableTextAndEveryKind) {
    EXPECT_TRUE(kExtensionIconTable.startsWith(S("17/EXE/29/LZH/30/ZIP/33/BMP/")));
    EXPECT_TRUE(kExtensionIconTable.endsWith(S("/26/CHM/37/RAM/")));
    EXPECT_EQ(kExtensionIconTable.count(u'/'), 2 * 46);
    const std::pair<const char*, int> kinds[] = {
        {"EXE", 17}, {"JPG", 18},  {"JPEG", 18},  {"AVI", 19}, {"WAV", 20}, {"MID", 20},
        {"HTM", 21}, {"HTML", 21}, {"SHTML", 21}, {"DLL", 22}, {"LOG", 23}, {"LST", 23},
        {"DOC", 24}, {"DAT", 24},  {"INI", 25},   {"HLP", 26}, {"CHM", 26}, {"MOV", 27},
        {"MPG", 27}, {"COM", 28},  {"BAT", 28},   {"LZH", 29}, {"ZIP", 30}, {"VBX", 31},
        {"MSG", 31}, {"GIF", 32},  {"ICO", 32},   {"BMP", 33}, {"PCD", 33}, {"TXT", 34},
        {"CAB", 35}, {"MP1", 36},  {"MP3", 36},   {"RAM", 37}};
    for (const auto& [extension, icon] : kinds)
        EXPECT_EQ(IconForExtension(S(extension)), icon) << extension;
    // Not in the table: every other extension, none at all, lower case (the
    // lookup is given upper case), and texts that only a search across two
    // pairs of the table text would find.
    for (const char* other : {"PDF", "", "txt", "29", "EXE/29", "XE"})
        EXPECT_EQ(IconForExtension(S(other)), kIconOtherFile) << other;
}

TEST_F(FileListTest, FolderIsSortedByExtensionThenBaseNameIgnoringCase) {
    WriteSampleFolder();
    const FileListing listing = ReadFileList(S("C:\\Data"));
    // Names without an extension come first (an empty extension sorts first);
    // an extension longer than five characters is part of the name.
    EXPECT_EQ(Names(listing), QStringList({S("Makefile"), S("notes.backup1"), S("z.exe"),
                                           S("photo.jpeg"), S("A.TXT"), S("b.txt"), S("c.Txt")}));
    EXPECT_EQ(RowNamed(listing, S("Makefile"))->icon, kIconOtherFile);
    EXPECT_EQ(RowNamed(listing, S("z.exe"))->icon, 17);
    EXPECT_EQ(RowNamed(listing, S("photo.jpeg"))->icon, 18);
    EXPECT_EQ(RowNamed(listing, S("c.Txt"))->icon, 34);
    EXPECT_EQ(RowNamed(listing, S("c.Txt"))->size, S("1,234"));
    // Empty files, folders and hidden names are neither listed nor counted.
    EXPECT_EQ(listing.totalBytes, 2 + 1 + 1234 + 4 + 1 + 2 + 4);
    // The folder path is resolved without regard to case, as the rows give it.
    EXPECT_EQ(Names(ReadFileList(S("c:\\DATA"))), Names(listing));
}

// Plain ASCII names are keyed on a short way, all others through Unicode case
// folding: both must give one order. Punctuation below "." in an extension
// sorts before the bare extension, as the key text compares.
TEST_F(FileListTest, AsciiAndOtherNamesShareOneOrder) {
    // Written by host name: "B.txt" must not find "b.TXT" as the Windows form would.
    drives.MakeFolder(S("C:\\Mix"));
    for (const char* name : {"日本.TXT", "über.txt", "Ärger.txt", "c.Txt", "b.TXT", "B.txt", "a.b",
                             "a.b-", "x-", "trail.", "tab\tname.txt"}) {
        QFile file(Host("C:\\Mix") + u'/' + S(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    const FileListing listing = ReadFileList(S("C:\\Mix"));
    EXPECT_EQ(Names(listing), QStringList({S("trail."), S("x-"), S("a.b-"), S("a.b"), S("B.txt"),
                                           S("b.TXT"), S("c.Txt"), S("tab?name.txt"),
                                           S("Ärger.txt"), S("über.txt"), S("日本.TXT")}));
    EXPECT_EQ(RowNamed(listing, S("日本.TXT"))->icon, 34);
    EXPECT_EQ(RowNamed(listing, S("b.TXT"))->icon, 34);
    EXPECT_EQ(RowNamed(listing, S("a.b-"))->icon, kIconOtherFile);
    EXPECT_EQ(RowNamed(listing, S("trail."))->icon, kIconOtherFile);
    EXPECT_EQ(listing.totalBytes, 11);
}

TEST_F(FileListTest, MissingPathsAndFilesThatAreNotArchivesListNothing) {
    EXPECT_TRUE(Rows(ReadFileList(S("C:\\Nowhere"))).empty());
    EXPECT_TRUE(Rows(ReadFileList(S(""))).empty());
    EXPECT_TRUE(Rows(ReadFileList(S("Z:\\"))).empty());
    EXPECT_TRUE(Rows(ReadFileList(S("(E)USB\\Backup"))).empty());
    // An archive that does not exist is read as a folder: nothing is found.
    EXPECT_TRUE(Rows(ReadFileList(S("C:\\Backup.lzh"))).empty());
    // A folder named like an archive is listed as the folder it is.
    drives.WriteFile(S("C:\\Box.zip\\inside.txt"), "inside", kTime);
    EXPECT_EQ(Names(ReadFileList(S("C:\\Box.zip"))), QStringList({S("inside.txt")}));
    drives.WriteFile(S("C:\\Text.lzh"), "not an archive", kTime);
    const FileListing foreign = ReadFileList(S("C:\\Text.lzh"));
    EXPECT_TRUE(Rows(foreign).empty());
    EXPECT_EQ(foreign.totalBytes, 0);
}

TEST_F(FileListTest, SizesAndTheTotalCountAbove4GB) {
    drives.WriteFile(S("C:\\Big\\one.iso"), "x", kTime);
    drives.WriteFile(S("C:\\Big\\two.iso"), "y", kTime);
    // Sparse files: their length is what a listing reads.
    ASSERT_TRUE(QFile::resize(Host("C:\\Big\\one.iso"), 3'000'000'000LL));
    ASSERT_TRUE(QFile::resize(Host("C:\\Big\\two.iso"), 2'500'000'123LL));
    const FileListing listing = ReadFileList(S("C:\\Big"));
    ASSERT_EQ(Rows(listing).size(), 2u);
    EXPECT_EQ(Rows(listing)[0].size, S("3,000,000,000"));
    EXPECT_EQ(listing.totalBytes, 5'500'000'123LL);
    EXPECT_EQ(FileCountLine(2, listing.totalBytes), S(" 2個のファイル  ( 5,500,000,123 bytes)"));
    EXPECT_EQ(FileCountLine(0, 0), S(" 0個のファイル  ( 0 bytes)"));
}

TEST_F(FileListTest, DatesAreTheFilesLocalTime) {
    drives.WriteFile(S("C:\\Data\\late.txt"), "late", kTime);
    {
        TimeZone tokyo("Asia/Tokyo");
        // 16:30 universal time is 1:30 of the next day in Japan.
        EXPECT_EQ(FileDateText(kTime * 1'000'000'000), S("2024/01/16 1:30"));
        EXPECT_EQ(Rows(ReadFileList(S("C:\\Data"))).at(0).date, S("2024/01/16 1:30"));
        EXPECT_EQ(FileDateText((kTime + 9 * 3600) * 1'000'000'000 + 999), S("2024/01/16 10:30"));
    }
    {
        TimeZone newYork("America/New_York");
        EXPECT_EQ(Rows(ReadFileList(S("C:\\Data"))).at(0).date, S("2024/01/15 11:30"));
        // Summer time: 16:30 universal time on 15 July is 12:30.
        EXPECT_EQ(FileDateText((kTime + 182 * 86400) * 1'000'000'000), S("2024/07/15 12:30"));
    }
    {
        TimeZone utc("UTC");
        EXPECT_EQ(FileDateText(kTime * 1'000'000'000), S("2024/01/15 16:30"));
        // Before the epoch, the second before it.
        EXPECT_EQ(FileDateText(-1), S("1969/12/31 23:59"));
    }
    {
        // The quarter hours around a change of summer time in New York:
        // 2024-03-10 06:59:59 UTC is 01:59 EST, 07:00:00 UTC is 03:00 EDT; and
        // a folder holding both sides of the change in one listing.
        TimeZone newYork("America/New_York");
        const qint64 change = 1'710'054'000;
        EXPECT_EQ(FileDateText((change - 1) * 1'000'000'000), S("2024/03/10 1:59"));
        EXPECT_EQ(FileDateText(change * 1'000'000'000), S("2024/03/10 3:00"));
        drives.WriteFile(S("C:\\Change\\before.txt"), "b", change - 60);
        drives.WriteFile(S("C:\\Change\\after.txt"), "a", change + 60);
        drives.WriteFile(S("C:\\Change\\edge.txt"), "e", change);
        const FileListing listing = ReadFileList(S("C:\\Change"));
        ASSERT_EQ(Rows(listing).size(), 3u);
        EXPECT_EQ(Rows(listing)[0].date, S("2024/03/10 3:01"));
        EXPECT_EQ(Rows(listing)[1].date, S("2024/03/10 1:59"));
        EXPECT_EQ(Rows(listing)[2].date, S("2024/03/10 3:00"));
    }
}

// Our own archives: members of sub-folders show their own names, the date is
// the listing's "yy/mm/dd hh:mm", empty members are listed (only a folder's
// empty files are left out).
TEST_F(FileListTest, MembersOfOurArchivesAreListedLikeFiles) {
    TimeZone tokyo("Asia/Tokyo");
    drives.WriteFile(S("C:\\Src\\readme.txt"), "hello", kTime);
    drives.WriteFile(S("C:\\Src\\sub\\Picture.JPG"), QByteArray(2048, 'p'), kTime);
    drives.WriteFile(S("C:\\Src\\sub\\empty.dat"), "", kTime);
    drives.WriteFile(S("C:\\Src\\Makefile"), "all:", kTime);
    for (const char* archive : {"C:\\Out\\Src.LZH", "C:\\Out\\Src.ZIP"}) {
        SCOPED_TRACE(archive);
        std::string output;
        const std::string line = QString(S(archive)).endsWith(S("LZH"))
                                     ? std::string("u -r2x1a2 \"") + archive + "\" \"C:\\Src\\\""
                                     : std::string("-r \"") + archive + "\" \"C:\\Src\\\" *.*";
        QDir().mkpath(Host("C:\\Out"));
        ASSERT_EQ(QString(S(archive)).endsWith(S("LZH")) ? archiver::Unlha(line, output)
                                                         : archiver::Zip(line, output),
                  0)
            << output;
        // The folder grid gives the path with its own capitalisation.
        const QString asShown = S(archive).chopped(3) + S(archive).right(3).toLower();
        const FileListing listing = ReadFileList(asShown);
        EXPECT_EQ(Names(listing),
                  QStringList({S("Makefile"), S("empty.dat"), S("Picture.JPG"), S("readme.txt")}));
        EXPECT_EQ(RowNamed(listing, S("Picture.JPG"))->icon, 18);
        EXPECT_EQ(RowNamed(listing, S("Picture.JPG"))->size, S("2,048"));
        EXPECT_EQ(RowNamed(listing, S("readme.txt"))->date, S("24/01/16 01:30"));
        EXPECT_EQ(listing.totalBytes, 5 + 2048 + 4);
    }
}

// Archives written by other tools: Info-ZIP with UTF-8 names, bsdtar with
// CP932 names, and jlha with every header level and method it writes.
TEST_F(FileListTest, MembersOfArchivesOfOtherToolsAreListed) {
    drives.WriteFile(S("C:\\Src\\桜.txt"), "sakura", kTime);
    drives.WriteFile(S("C:\\Src\\写真\\夏.jpg"), QByteArray(3000, 'n'), kTime);
    drives.WriteFile(S("C:\\Src\\plain.bin"), "0123456789", kTime);
    drives.WriteFile(S("C:\\Src\\sub\\more.txt"), "more!", kTime);
    // An empty member is listed: only a folder's empty files are left out.
    drives.WriteFile(S("C:\\Src\\sub\\empty.txt"), "", kTime);
    const QString source = Host("C:\\Src");
    const QString out = drives.Root() + S("/c");
    const QStringList all = {S("plain.bin"), S("夏.jpg"), S("empty.txt"), S("more.txt"),
                             S("桜.txt")};
    struct Maker {
        const char* tool;
        QString archive;  // Windows form
        QString command;
        QStringList names;
        qint64 total;
    };
    std::vector<Maker> makers = {
        {"zip", S("C:\\InfoZip.zip"), S("zip -qr ") + out + S("/InfoZip.zip ."), all, 3021},
        {"bsdtar", S("C:\\Cp932.zip"),
         S("bsdtar --format zip --options hdrcharset=CP932 -cf ") + out + S("/Cp932.zip *"), all,
         3021},
    };
    for (const char* level : {"0", "1", "2"}) {
        for (const char* method : {"5", "6", "7"}) {
            const QString name = S("Jlha%1%2.lzh").arg(S(level), S(method));
            // jlha writes names it cannot encode as "?": plain names only.
            makers.push_back(
                {"jlha",
                 S("C:\\") + name,
                 S("jlha c%1o%2 %3/%4 plain.bin sub/more.txt").arg(S(level), S(method), out, name),
                 {S("plain.bin"), S("more.txt")},
                 15});
        }
    }
    for (const Maker& maker : makers) {
        SCOPED_TRACE(maker.command.toStdString());
        if (!HasTool(maker.tool)) {
            std::printf("skipped: %s is not installed\n", maker.tool);
            continue;
        }
        QString output;
        ASSERT_TRUE(RunShell(source, maker.command, &output)) << output.toStdString();
        const QString& archive = maker.archive;
        const FileListing listing = ReadFileList(archive);
        EXPECT_EQ(Names(listing), maker.names) << archive.toStdString();
        EXPECT_EQ(listing.totalBytes, maker.total);
    }
}

// Damage anywhere in an archive lists the members before it, or nothing, and
// always returns.
TEST_F(FileListTest, DamagedArchivesListWhatCanBeReadOrNothing) {
    for (int i = 0; i < 6; ++i)
        drives.WriteFile(S("C:\\Src\\file%1.txt").arg(i), QByteArray(4000 + i, char('a' + i)),
                         kTime);
    std::string output;
    ASSERT_EQ(archiver::Unlha("u \"C:\\Good.lzh\" \"C:\\Src\\\"", output), 0) << output;
    ASSERT_EQ(archiver::Zip("- \"C:\\Good.zip\" \"C:\\Src\\\" *.*", output), 0) << output;
    for (const char* kind : {"lzh", "zip"}) {
        QFile file(drives.Root() + S("/c/Good.") + S(kind));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray good = file.readAll();
        ASSERT_EQ(Rows(ReadFileList(S("C:\\Good.") + S(kind))).size(), 6u);
        const QString damagedPath = S("C:\\Damaged.") + S(kind);
        std::vector<QByteArray> damaged;
        for (qsizetype cut : {qsizetype(1), qsizetype(21), good.size() / 3, good.size() / 2,
                              good.size() - 30, good.size() - 1})
            damaged.push_back(good.left(cut));
        for (qsizetype at = 0; at < good.size(); at += 997) {
            QByteArray flipped = good;
            flipped[at] = static_cast<char>(flipped[at] ^ 0x5A);
            damaged.push_back(flipped);
        }
        QByteArray sizes = good;  // member sizes far beyond the end of the file
        for (qsizetype at = 7; at < 11 && at < sizes.size(); ++at) sizes[at] = '\xFF';
        damaged.push_back(sizes);
        for (const QByteArray& bytes : damaged) {
            drives.WriteFile(damagedPath, bytes);
            const FileListing listing = ReadFileList(damagedPath);
            EXPECT_LE(Rows(listing).size(), 6u);
            for (const FileRow& row : Rows(listing)) EXPECT_FALSE(row.name.isEmpty());
        }
        // Cut inside the fourth member's data: the first three remain.
        if (QString(S(kind)) == S("lzh")) {
            drives.WriteFile(damagedPath, good.left(good.size() * 3 / 6 + 200));
            EXPECT_GE(Rows(ReadFileList(damagedPath)).size(), 2u);
        }
    }
}

}  // namespace
}  // namespace catalog
