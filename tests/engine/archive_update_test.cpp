#include "engine/archive_update.h"
#include "archiver/return_code.h"
#include "engine/backup_run.h"
#include "engine/console_ui.h"
#include "engine/folder_copy.h"
#include "engine_fixture.h"
#include "store/definition_list.h"
#include "support/small_disk.h"
#include "util/file_ops.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <random>

using namespace testing_support;
using engine::UpdateArchive;

namespace {

class ArchiveUpdate : public EngineTest {
  protected:
    void SetUp() override {
        drives.WriteFile(S("C:\\My Data\\a.txt"), "alpha", 1'700'000'000);
        drives.WriteFile(S("C:\\My Data\\sub\\b.txt"), "beta", 1'700'000'000);
    }
};

TEST_F(ArchiveUpdate, CommandLinesAreExact) {
    EXPECT_EQ(engine::LzhUpdateCommand(D("D:\\B.LZH"), D("C:\\My Data"), true),
              S("u -r2x1a2 \"D:\\B.LZH\" \"C:\\My Data\\\""));
    EXPECT_EQ(engine::LzhUpdateCommand(D("D:\\B.LZH"), D("C:\\My Data"), false),
              S("u \"D:\\B.LZH\" \"C:\\My Data\\\""));
    EXPECT_EQ(engine::LzhDeleteCommand(D("D:\\B.LZH"), D("C:\\X")),
              S("d -jn \"D:\\B.LZH\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(D("D:\\B.ZIP"), D("C:\\X"), false, false),
              S("- \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(D("D:\\B.ZIP"), D("C:\\X"), true, false),
              S("-r \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(D("D:\\B.ZIP"), D("C:\\X"), false, true),
              S("-u \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(D("D:\\B.ZIP"), D("C:\\X"), true, true),
              S("-ur \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
}

TEST_F(ArchiveUpdate, ZipSwitchFollowsTheArchiveAndLzhDeletesOnlyAfterSuccess) {
    ASSERT_TRUE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\out\\B.ZIP"), true, true));
    ASSERT_TRUE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\out\\B.ZIP"), true, true));
    ASSERT_TRUE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\out\\B.LZH"), false, true));
    archiverCode = 1;
    EXPECT_FALSE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\out\\B.LZH"), false, true));
    EXPECT_EQ(commandLines, (std::vector<std::string>{
                                "zip -r \"C:\\out\\B.ZIP\" \"C:\\My Data\\\" *.*",
                                "zip -ur \"C:\\out\\B.ZIP\" \"C:\\My Data\\\" *.*",
                                "unlha u \"C:\\out\\B.LZH\" \"C:\\My Data\\\"",
                                "unlha d -jn \"C:\\out\\B.LZH\" \"C:\\My Data\\\" *.*",
                                "unlha u \"C:\\out\\B.LZH\" \"C:\\My Data\\\"",
                            }));
    EXPECT_EQ(ui.calls.filter(S("beep")).size(), 1);
    EXPECT_FALSE(engine.AbortRequested());
}

TEST_F(ArchiveUpdate, AnArchiverThatCannotBeCalledStopsTheRun) {
    archiverCode = std::optional<int>();
    EXPECT_FALSE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\out\\B.LZH"), true, false));
    EXPECT_TRUE(engine.AbortRequested());
    EXPECT_EQ(ui.messages, QStringList({S("ファイル書込みができません")}));
}

TEST_F(ArchiveUpdate, ArchiveEntriesTakeTheArchiveTimeAndCountOnce) {
    store::DefinitionList list;
    store::BackupEntry entry;
    entry.sourceFolder = S("C:\\My Data");
    entry.destination = S("C:\\out\\B.ZIP");
    entry.lastBackup = store::BackupTime();
    entry.subFolders = store::SubFolders::InOneArchive;
    list.PutEntry(entry);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);
    EXPECT_EQ(engine.FileCounter(), 1);
    const qint64 archiveNs = *util::ModifiedTimeOf(D("C:\\out\\B.ZIP"));
    EXPECT_EQ(
        list.Entries()[0].lastBackup.Text(),
        QDateTime::fromMSecsSinceEpoch(archiveNs / 1'000'000).toString(S("yyyy/MM/dd HH:mm")));

    archiverCode = 3;
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(engine.FileCounter(), 0);
    EXPECT_EQ(engine.FailedEntries(), 1);
}

// The run log and the report count an archive's members as a folder copy
// counts files: added, replaced, and (LZH) deleted when gone from the source.
TEST_F(ArchiveUpdate, EachEntryCountsTheMembersItAddedReplacedAndDeleted) {
    for (const char* archive : {"C:\\out\\B.LZH", "C:\\out\\B.ZIP"}) {
        SCOPED_TRACE(archive);
        const bool lzh = QString::fromLatin1(archive).endsWith(S("LZH"));
        drives.WriteFile(S("C:\\My Data\\a.txt"), "alpha", 1'700'000'000);
        drives.WriteFile(S("C:\\My Data\\gone.txt"), "gone", 1'700'000'000);
        store::DefinitionList list;
        store::BackupEntry entry;
        entry.sourceFolder = S("C:\\My Data");
        entry.destination = QString::fromLatin1(archive);
        entry.lastBackup = store::BackupTime();
        entry.subFolders = store::SubFolders::InOneArchive;
        entry.deleteMissing = true;
        list.PutEntry(entry);
        const auto lastCounts = [this] { return ui.reports.back().counts; };

        ASSERT_EQ(engine::RunBackupAll(engine, list), 1);
        EXPECT_EQ(lastCounts().copied, 3);  // a.txt, gone.txt and sub\b.txt
        EXPECT_EQ(lastCounts().replaced, 0);
        EXPECT_TRUE(engine::EntryReportLine(ui.reports.back()).endsWith(S(": 3 files backed up")));

        ASSERT_EQ(engine::RunBackupAll(engine, list), 1);
        EXPECT_EQ(lastCounts().copied, 0);
        EXPECT_EQ(lastCounts().replaced, 0);
        EXPECT_EQ(lastCounts().deleted, 0);
        EXPECT_TRUE(engine::EntryReportLine(ui.reports.back()).endsWith(S(": 0 files backed up")));

        drives.WriteFile(S("C:\\My Data\\a.txt"), "alpha, again", 1'700'000'600);
        drives.WriteFile(S("C:\\My Data\\new.txt"), "new", 1'700'000'600);
        ASSERT_TRUE(QFile::remove(drives.Host(S("C:\\My Data\\gone.txt"))));
        ASSERT_EQ(engine::RunBackupAll(engine, list), 1);
        EXPECT_EQ(lastCounts().copied, 1);
        EXPECT_EQ(lastCounts().replaced, 1);
        EXPECT_EQ(lastCounts().deleted, lzh ? 1 : 0);  // a ZIP keeps what is gone
        ASSERT_TRUE(QFile::remove(drives.Host(S("C:\\My Data\\new.txt"))));
    }
}

// An independent tool's exit status and output.
std::pair<int, QString> Tool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60'000)) return {-1, QString()};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

// A folder whose name holds quotation marks was read back as another folder
// when the engine passed it through a command line.
TEST_F(ArchiveUpdate, FolderNamesWithQuotationMarksAreBackedUpAsTheyAre) {
    const QString source = S("C:\\my \"best\" photos");
    drives.WriteFile(source + S("\\a.txt"), "alpha", 1'700'000'000);
    drives.WriteFile(source + S("\\\"sub\" -r\\b.txt"), "beta", 1'700'000'000);
    // The folder the old parse would have named, to catch a wrong folder backed up.
    drives.WriteFile(S("C:\\my best photos\\wrong.txt"), "wrong", 1'700'000'000);
    for (const char* name : {"C:\\out \"1\"\\B.LZH", "C:\\out \"1\"\\B.ZIP"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(UpdateArchive(engine, platform::DrivePath(source), platform::DrivePath(S(name)),
                                  true, true));
        const QString host = drives.Host(S(name));
        const auto listing = Tool(S("bsdtar"), {S("-tf"), host});
        EXPECT_EQ(listing.first, 0) << listing.second.toStdString();
        EXPECT_TRUE(listing.second.contains(S("a.txt"))) << listing.second.toStdString();
        EXPECT_TRUE(listing.second.contains(S("\"sub\" -r/b.txt"))) << listing.second.toStdString();
        EXPECT_FALSE(listing.second.contains(S("wrong.txt")));
        const auto test = host.endsWith(S(".LZH")) ? Tool(S("lhasa"), {S("t"), host})
                                                   : Tool(S("unzip"), {S("-t"), host});
        EXPECT_EQ(test.first, 0) << test.second.toStdString();
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join(u'|').toStdString();
    // The text form of the command still shows the name, for logs.
    EXPECT_EQ(commandLines.front(),
              "unlha u -r2x1a2 \"C:\\out \"1\"\\B.LZH\" "
              "\"C:\\my \"best\" photos\\\"");
}

TEST_F(ArchiveUpdate, OnlyTheLastLevelOfTheArchiveFolderIsMade) {
    ASSERT_TRUE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\new\\B.LZH"), true, false));
    EXPECT_TRUE(util::FolderExists(D("C:\\new")));
    EXPECT_FALSE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\two\\levels\\B.ZIP"), true, false));
    EXPECT_FALSE(util::FolderExists(D("C:\\two")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(S("C:\\two\\levels"))) << ui.messages[0].toStdString();
    EXPECT_EQ(commandLines.size(), 1u);  // the archiver was never called for the second
}

// A backup disk that is not mounted: its mount folder is missing and must
// never be made on the system disk, for archives nor for plain copies.
TEST_F(ArchiveUpdate, AMissingDriveRootIsNotReadyAndNeverMade) {
    drives.Map(u'D', platform::DriveType::Fixed, S("BACKUP"));
    const QString root = drives.Host(S("D:\\"));
    ASSERT_TRUE(QDir(root).removeRecursively());
    for (const char* archive : {"D:\\BK\\B.LZH", "D:\\B.ZIP"}) {
        EXPECT_FALSE(
            UpdateArchive(engine, D("C:\\My Data"), platform::DrivePath(S(archive)), true, false));
    }
    EXPECT_FALSE(engine::CopyFolder(engine, D("C:\\My Data"), D("D:\\Copy"), true, false));
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_EQ(ui.messages, QStringList(3, S("ドライブの準備ができていません：　D:")));
    EXPECT_TRUE(commandLines.empty());
}

TEST_F(ArchiveUpdate, FailuresShowTheReasonAndTheFile) {
    // A damaged archive is refused and left as it was.
    drives.WriteFile(S("C:\\out\\B.LZH"), QByteArray(300, 'x'));
    EXPECT_FALSE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\out\\B.LZH"), true, true));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(S("C:\\out\\B.LZH")));
    EXPECT_TRUE(ui.messages[0].contains(drives.Host(S("C:\\out\\B.LZH"))))
        << ui.messages[0].toStdString();
    EXPECT_EQ(drives.ReadFile(S("C:\\out\\B.LZH")), QByteArray(300, 'x'));

    // A file that cannot be read (an I/O error, even for root) is named.
    ASSERT_TRUE(QFile::link(S("/proc/self/mem"), drives.Host(S("C:\\My Data\\mem"))));
    for (const char* archive : {"C:\\out\\C.LZH", "C:\\out\\C.ZIP"}) {
        ui.messages.clear();
        EXPECT_FALSE(
            UpdateArchive(engine, D("C:\\My Data"), platform::DrivePath(S(archive)), true, false));
        ASSERT_EQ(ui.messages.size(), 1) << archive;
        EXPECT_TRUE(ui.messages[0].contains(drives.Host(S("C:\\My Data\\mem"))))
            << ui.messages[0].toStdString();
        EXPECT_TRUE(ui.messages[0].contains(S(archive)));
        EXPECT_FALSE(util::FileExists(platform::DrivePath(S(archive))));
    }
    EXPECT_EQ(ui.calls.filter(S("beep")).size(), 3);
    EXPECT_FALSE(engine.AbortRequested());
}

TEST_F(ArchiveUpdate, AFullDiskIsShownWithTheArchive) {
    testing_support::SmallDisk disk(64);
    if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    platform::DriveTable table = platform::CurrentDrives();
    table.Map(u'F', platform::DriveType::Fixed, platform::HostPath(disk.Path()), S("SMALL"));
    platform::SetCurrentDrives(table);
    QByteArray noise(256 * 1024, Qt::Uninitialized);
    std::mt19937 random(7);
    for (qsizetype i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(random());
    drives.WriteFile(S("C:\\My Data\\big.bin"), noise);
    for (const char* archive : {"F:\\B.LZH", "F:\\B.ZIP"}) {
        ui.messages.clear();
        EXPECT_FALSE(
            UpdateArchive(engine, D("C:\\My Data"), platform::DrivePath(S(archive)), true, false));
        ASSERT_EQ(ui.messages.size(), 1) << archive;
        EXPECT_TRUE(ui.messages[0].contains(S(archive)));
        EXPECT_TRUE(ui.messages[0].contains(S("space"), Qt::CaseInsensitive))
            << ui.messages[0].toStdString();
        EXPECT_TRUE(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
}

// An update that passed over what it could not read fails its entry, so that
// the last-backup time stays and the next run tries again.
TEST_F(ArchiveUpdate, APartialUpdateNamesWhatWasPassedOverAndFailsTheEntry) {
    archiverResult = archiver::CommandResult{archiver::kSourceUnreadable,
                                             "1 added, 0 replaced; /src/locked: Permission denied",
                                             {"/src/locked: Permission denied"},
                                             {1, 0, 0}};
    store::DefinitionList list;
    store::BackupEntry entry;
    entry.sourceFolder = S("C:\\My Data");
    entry.destination = S("C:\\out\\B.LZH");
    entry.lastBackup = store::BackupTime();
    entry.subFolders = store::SubFolders::EachAsEntry;
    list.PutEntry(entry);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(engine.FailedEntries(), 1);
    EXPECT_EQ(list.Entries()[0].lastBackup.Text(), QString(16, u' '));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(S("/src/locked: Permission denied")));
    EXPECT_TRUE(ui.messages[0].contains(S("C:\\out\\B.LZH")));
}

// The update wrote the archive but the delete of members whose files are gone could not:
// the entry fails, so that the next run deletes them.
TEST_F(ArchiveUpdate, AFailedDeleteOfMissingMembersFailsTheEntry) {
    deleteResult = archiver::CommandResult{archiver::kWriteFailed, "no space left", {}, {}};
    EXPECT_FALSE(UpdateArchive(engine, D("C:\\My Data"), D("C:\\out\\B.LZH"), true, true));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith(S("アーカイブを更新できませんでした\nno space left")))
        << ui.messages[0].toStdString();
}

// The real archivers: a name that cannot be stored is passed over, the rest is stored, and
// the message says the archive was updated but for what it names.
TEST_F(ArchiveUpdate, WhatTheArchiverPassedOverIsShownAsAPartialUpdate) {
    drives.WriteFile(S("C:\\My Data\\time 10:30.txt"), "colon", 1'700'000'000);
    for (const char* archive : {"C:\\out\\B.LZH", "C:\\out\\B.ZIP"}) {
        SCOPED_TRACE(archive);
        ui.messages.clear();
        EXPECT_FALSE(UpdateArchive(engine, D("C:\\My Data"), D(archive), true, true));
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(
            ui.messages[0].startsWith(S("読めないファイルを除いてアーカイブを更新しました\n")))
            << ui.messages[0].toStdString();
        EXPECT_TRUE(ui.messages[0].contains(S("time 10:30.txt")));
        EXPECT_TRUE(ui.messages[0].contains(S(archive)));
        EXPECT_TRUE(QFileInfo::exists(drives.Host(QString::fromLatin1(archive))));
    }
}

// Tetoru without a display prints the archive's reason on standard error.
TEST(ArchiveConsole, TheReasonIsPrintedOnStandardError) {
    TempDrives drives;
    drives.WriteFile(S("C:\\src\\a.txt"), "alpha");
    drives.WriteFile(S("C:\\out\\B.ZIP"), "not a zip archive at all");
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    {
        engine::ConsoleUi console(out, err);
        engine::Engine engine(console);
        store::DefinitionList list;
        store::BackupEntry entry;
        entry.sourceFolder = S("C:\\src");
        entry.destination = S("C:\\out\\B.ZIP");
        entry.lastBackup = store::BackupTime();
        list.PutEntry(entry);
        EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    }
    const auto text = [](std::FILE* file) {
        std::rewind(file);
        QByteArray bytes;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            bytes.append(buffer, static_cast<qsizetype>(n));
        }
        std::fclose(file);
        return QString::fromUtf8(bytes);
    };
    const QString errors = text(err);
    text(out);
    EXPECT_TRUE(errors.contains(S("C:\\out\\B.ZIP"))) << errors.toStdString();
    EXPECT_TRUE(errors.contains(drives.Host(S("C:\\out\\B.ZIP")))) << errors.toStdString();
}

}  // namespace
