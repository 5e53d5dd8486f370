#include "engine/backup_run.h"
#include "engine/console_ui.h"
#include "engine/media_titles.h"
#include "engine/resolve_destination.h"
#include "engine_fixture.h"
#include "platform/attributes.h"
#include "platform/code_page.h"
#include "platform/host_name.h"
#include "store/definition_list.h"
#include "support/fake_system.h"
#include "util/destination_folder.h"
#include "util/file_ops.h"
#include "util/missing_folder.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cstdio>

using namespace testing_support;
using engine::DriveChoice;
using engine::Owner;
using engine::ResolveDestination;
using platform::DriveType;

namespace {

class Media : public EngineTest {
  protected:
    void SetUp() override {
        drives.Map(u'F', DriveType::Removable, QString());
        drives.Map(u'D', DriveType::Fixed, S("DATA"));
    }
    void Title(const char* drive, const QByteArray& line) {
        drives.WriteFile(S(drive) + S(":\\VolName.DAT"), line + "\r\n");
    }
};

TEST_F(Media, TitlesComeFromTheFileThenTheLabel) {
    Title("E", "PHOTOS");
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("E:\\x")), S("PHOTOS"));
    EXPECT_EQ(engine.CachedTitle(u'e'), S("PHOTOS"));
    Title("E", "  A,B");
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("E:")), S("A"));
    Title("E", "\"A,B\"");
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("E:")), S("A,B"));
    QFile::remove(drives.Host(S("E:\\VolName.DAT")));
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("E:")), S("USB"));  // the volume label
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("F:")), engine::kNoTitle);
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("D:")), S("DATA"));
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("Q:")), QString());
}

TEST_F(Media, CdRomWithoutLabelIsTitledByItsFolders) {
    drives.Map(u'S', DriveType::CdRom, QString());
    drives.MakeFolder(S("S:\\DOCS"));
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("S:")), S("DOCS"));
    for (const char16_t letter : {u'P', u'Q', u'R'})
        drives.MakeFolder(S("S:\\") + QString(100, QChar(letter)));
    drives.MakeFolder(S("S:\\.hidden"));
    const QString title = engine::CdRomFolderTitle(D("S:\\"));
    EXPECT_EQ(title.size(), 220);
    EXPECT_FALSE(title.contains(S("hidden")));
}

TEST_F(Media, WritingATitleHidesTheFileAndRetriesOrGivesUp) {
    QString title = S("写真");
    EXPECT_TRUE(engine::WriteMediaTitle(engine, D("F:\\"), title));
    EXPECT_EQ(drives.ReadFile(S("F:\\VolName.DAT")), QByteArray("\x8E\xCA\x90\x5E\r\n"));
    EXPECT_EQ(engine.CachedTitle(u'F'), S("写真"));

    // A drive without its medium cannot be written: OK retries, Cancel gives up.
    QDir(drives.Host(S("F:\\"))).removeRecursively();
    ui.messageAnswers = {util::Answer::Ok, util::Answer::Cancel};
    EXPECT_FALSE(engine::WriteMediaTitle(engine, D("F:\\"), title));
    EXPECT_TRUE(title.isEmpty());
    EXPECT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0], S("メディアが書込み禁止になっています。　書き込み可にしてください"));
}

TEST_F(Media, PlainDestinationsPassAndFixedDrivesInParenthesesAreSkipped) {
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("D:\\Backup")), D("D:\\Backup"));
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(D)DATA\\Backup")),
              platform::DrivePath());
    EXPECT_TRUE(ui.calls.filter(S("drive:")).isEmpty());
}

TEST_F(Media, ATitleFoundOnAnotherDriveThroughTheCache) {
    Title("F", "PHOTOS");
    engine::ReadMediaTitleCached(engine, D("F:"));
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(E)PHOTOS\\Bak\\Album")),
              D("F:\\Bak\\Album"));
    EXPECT_TRUE(ui.calls.filter(S("drive:")).isEmpty());
}

TEST_F(Media, AskedForAndChosen) {
    Title("F", "PHOTOS");
    ui.driveAnswers = {DriveChoice{S("F:"), false}};
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(E)PHOTOS\\Bak")), D("F:\\Bak"));
    EXPECT_EQ(ui.calls.filter(S("drive:")), QStringList({S("drive: PHOTOS|ZIP、MO|E:\\")}));
}

TEST_F(Media, ABlankMediumGetsTheWantedTitle) {
    ui.driveAnswers = {DriveChoice{S("F:"), false}};
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(E)\\Bak")), D("F:\\Bak"));
    EXPECT_EQ(drives.ReadFile(S("F:\\VolName.DAT")), *platform::ToCp932(S("タイトル未定\r\n")));
    EXPECT_EQ(ui.calls.filter(S("drive:")), QStringList({S("drive: タイトル未定|ZIP、MO|E:\\")}));
}

TEST_F(Media, WrongMediumAndWrongDriveTypeAskAgain) {
    Title("F", "OTHER");
    ui.driveAnswers = {DriveChoice{S("D:"), false}, DriveChoice{S("F:"), false}};
    ui.messageAnswers = {util::Answer::Ok, util::Answer::Cancel};
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(E)PHOTOS\\Bak")),
              platform::DrivePath());
    EXPECT_EQ(ui.messages,
              QStringList({S("ZIP、MO のドライブを指定して下さい"),
                           S("指定されたドライブには、「 OTHER 」というタイトルが入っています。\r\r"
                             "「 PHOTOS 」の入ったドライブを指定して下さい。")}));
}

TEST_F(Media, SkipRemovableNeverAsks) {
    engine.SetSkipRemovable(true);
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(E)PHOTOS\\Bak")),
              platform::DrivePath());
    EXPECT_TRUE(ui.calls.filter(S("drive:")).isEmpty());
}

// Two sticks used in turn carry one title; detected letters stay with each
// stick, so the one plugged in today has its own letter.
TEST_F(Media, ATitleOnAnotherDetectedDriveIsFoundWithoutAsking) {
    FakeSystem system;
    QTemporaryDir home;
    const platform::HostPath settings(home.filePath(S("Kibako.INI")));
    system.AddDisk(S("sdb1"), S("1111-aaaa"));
    system.AddDisk(S("sdc1"), S("2222-bbbb"));
    system.Mount(S("sdb1"), S("/media/hana/ONE"), S("vfat"));
    platform::DriveTable::Detect(system.Sources(), settings);
    system.UnmountAll();
    system.Mount(S("sdc1"), S("/media/hana/TWO"), S("vfat"));
    QFile title(system.HostOf(S("/media/hana/TWO/VolName.DAT")));
    ASSERT_TRUE(title.open(QIODevice::WriteOnly));
    title.write("PHOTOS\r\n");
    title.close();
    platform::SetCurrentDrives(platform::DriveTable::Detect(system.Sources(), settings));
    ASSERT_EQ(platform::CurrentDrives().TypeOf(u'D'), DriveType::Removable);  // no medium

    engine.SetSkipRemovable(true);  // a run with nobody to ask
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(D)PHOTOS\\Bak")), D("E:\\Bak"));
    EXPECT_TRUE(ui.calls.filter(S("drive:")).isEmpty());
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(D)OTHER\\Bak")),
              platform::DrivePath());
}

store::DefinitionList ListWith(std::initializer_list<std::pair<const char*, const char*>> entries) {
    store::DefinitionList list;
    for (const auto& [source, destination] : entries) {
        store::BackupEntry entry;
        entry.sourceFolder = S(source);
        entry.destination = S(destination);
        entry.lastBackup = store::BackupTime();
        list.PutEntry(entry);
    }
    return list;
}

TEST_F(Media, TwoEntriesOnOneMissingMediumAreAskedOnce) {
    drives.WriteFile(S("C:\\a\\x.txt"), "x");
    drives.WriteFile(S("C:\\b\\y.txt"), "y");
    auto list = ListWith({{"C:\\a", "(E)PHOTOS\\A"}, {"C:\\b", "(E)PHOTOS\\B"}});
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(ui.calls.filter(S("drive:")).size(), 1);
    EXPECT_EQ(engine.SkippedMedia(), S("/(E)PHOTOS/"));
    EXPECT_EQ(engine.MediaSkipState(), engine::MediaSkip::AskEach);
    EXPECT_EQ(ui.reports[1].outcome, engine::EntryOutcome::MediumSkipped);
}

TEST_F(Media, UnattendedTimeoutSkipsEveryLaterRemovableEntry) {
    drives.WriteFile(S("C:\\a\\x.txt"), "x");
    drives.WriteFile(S("C:\\b\\y.txt"), "y");
    drives.WriteFile(S("C:\\c\\z.txt"), "z");
    engine.SetUnattended(true);
    ui.driveAnswers = {DriveChoice{QString(), true}};
    auto list = ListWith({{"C:\\a", "(E)ONE\\A"}, {"C:\\b", "(F)TWO\\B"}, {"C:\\c", "D:\\C"}});
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);
    EXPECT_EQ(ui.calls.filter(S("drive:")), QStringList({S("drive: ONE|ZIP、MO|E:\\|unattended")}));
    EXPECT_EQ(engine.MediaSkipState(), engine::MediaSkip::SkipAll);
    EXPECT_TRUE(util::FileExists(D("D:\\C\\z.txt")));
}

// A medium without a title: the destination that was registered for it has
// an empty title, and it must be found again run after run.
TEST_F(Media, AnEmptyTitleFindsAMediumWithoutOneInEveryRun) {
    drives.WriteFile(S("C:\\a\\x.txt"), "x");
    auto list = ListWith({{"C:\\a", "(F)\\Bak"}});
    // First run: F has no title; it is used without a question.
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);
    EXPECT_EQ(drives.ReadFile(S("F:\\Bak\\x.txt")), QByteArray("x"));
    // The drive question wrote the placeholder on a medium of another drive.
    Title("E", *platform::ToCp932(S("タイトル未定")));
    auto onE = ListWith({{"C:\\a", "(E)\\Bak"}});
    drives.WriteFile(S("C:\\a\\y.txt"), "y");
    EXPECT_EQ(engine::RunBackupAll(engine, onE), 1);
    EXPECT_EQ(engine::RunBackupAll(engine, onE), 1);
    EXPECT_EQ(drives.ReadFile(S("E:\\Bak\\y.txt")), QByteArray("y"));
    EXPECT_TRUE(ui.calls.filter(S("drive:")).isEmpty());
}

TEST_F(Media, AnEmptyTitleAcceptsTheChosenPlaceholderOrFactoryLabel) {
    drives.Map(u'G', DriveType::Removable, S("ZIP-100"));
    Title("F", *platform::ToCp932(S("タイトル未定")));
    // E carries the title USB; the medium wanted is asked for and found in F, then G.
    ui.driveAnswers = {DriveChoice{S("F:"), false}, DriveChoice{S("G:"), false}};
    drives.WriteFile(S("E:\\VolName.DAT"), "USB\r\n");
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(E)\\Bak")), D("F:\\Bak"));
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(E)\\Bak")), D("G:\\Bak"));
    EXPECT_TRUE(ui.messages.isEmpty());
    // A drive without its medium is not a medium without a title.
    QDir(drives.Host(S("G:\\"))).removeRecursively();
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(G)\\Bak")), platform::DrivePath());
    EXPECT_EQ(ui.calls.filter(S("drive:")).size(), 3);
}

TEST_F(Media, TypedTitlesThatCouldNotBeFoundAgainAreRefused) {
    ui.textAnswers = {S("A,B"), S(" A"), S("\"A"), S("A\\B"), S("家族 写真")};
    QString title = S("ZIP-100");
    engine::AskMediaTitle(engine, D("F:\\"), title, QString());
    EXPECT_EQ(title, S("家族 写真"));
    EXPECT_EQ(ui.messages, QStringList({S("メディア・タイトルに「,」（カンマ）は使えません。"),
                                        S("メディア・タイトルを空白で始めることはできません。"),
                                        S("メディア・タイトルを「\"」で始めることはできません。"),
                                        S("メディア・タイトルに「\\」は使えません。")}));
    // Each question offered the text just refused, to be mended.
    EXPECT_EQ(ui.calls.filter(S("text:")), QStringList({S("text: メディア・タイトルの登録|ZIP-100"),
                                                        S("text: メディア・タイトルの登録|A,B"),
                                                        S("text: メディア・タイトルの登録| A"),
                                                        S("text: メディア・タイトルの登録|\"A"),
                                                        S("text: メディア・タイトルの登録|A\\B")}));
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("F:")), S("家族 写真"));
    // Cancelled: no title, nothing written.
    QString cancelled = S("X");
    engine::AskMediaTitle(engine, D("E:\\"), cancelled, QString());
    EXPECT_TRUE(cancelled.isEmpty());
    EXPECT_FALSE(util::FileExists(D("E:\\VolName.DAT")));
}

TEST_F(Media, TitlesReadBackAsWritten) {
    for (const char* text : {"A,B", "  lead", "PHOTOS", "trail  ", "a\"b"}) {
        QString title = S(text);
        ASSERT_TRUE(engine::WriteMediaTitle(engine, D("F:\\"), title));
        EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("F:")), S(text)) << text;
    }
    QString title = S("A,B");
    engine::WriteMediaTitle(engine, D("F:\\"), title);
    EXPECT_EQ(drives.ReadFile(S("F:\\VolName.DAT")), QByteArray("\"A,B\"\r\n"));
    // A destination for a medium titled with a comma (its volume label) is found.
    EXPECT_EQ(ResolveDestination(engine, Owner::Progress, S("(F)A,B\\Bak")), D("F:\\Bak"));
}

// Entry 1's medium is missing and nobody answers; entries 2 and 4 have theirs
// in a drive and are backed up; entry 3's is missing too and asks nothing.
TEST_F(Media, SkipAllOnlyStopsTheQuestions) {
    drives.Map(u'G', DriveType::Removable, QString());
    Title("F", "PHOTOS");
    Title("G", "MUSIC");
    for (const char* folder : {"C:\\a\\x.txt", "C:\\b\\x.txt", "C:\\c\\x.txt", "C:\\d\\x.txt"})
        drives.WriteFile(S(folder), "x");
    auto list = ListWith({{"C:\\a", "(E)MISSING\\A"},
                          {"C:\\b", "(F)PHOTOS\\B"},
                          {"C:\\c", "(E)GONE\\C"},
                          {"C:\\d", "(G)MUSIC\\D"}});
    engine.SetUnattended(true);
    ui.driveAnswers = {DriveChoice{QString(), true}};
    EXPECT_EQ(engine::RunBackupAll(engine, list), 2);
    EXPECT_EQ(ui.calls.filter(S("drive:")).size(), 1);
    EXPECT_EQ(engine.MediaSkipState(), engine::MediaSkip::SkipAll);
    EXPECT_TRUE(util::FileExists(D("F:\\B\\x.txt")));
    EXPECT_TRUE(util::FileExists(D("G:\\D\\x.txt")));
    ASSERT_EQ(ui.reports.size(), 4u);
    EXPECT_EQ(ui.reports[2].outcome, engine::EntryOutcome::MediumSkipped);

    // The console user answers every medium question as timed out at once.
    engine::ConsoleUi console(stdout, stdout);
    engine::Engine unattended(console);
    unattended.SetUnattended(true);
    QFile::remove(drives.Host(S("F:\\B\\x.txt")));
    EXPECT_EQ(engine::RunBackupAll(unattended, list), 2);
    EXPECT_TRUE(util::FileExists(D("F:\\B\\x.txt")));
}

// A mount point may hold bytes that are not UTF-8 (a label from an old
// disk): the medium is there, and its title reads back as it was written.
TEST_F(Media, AMediumMountedAtANameThatIsNotUtf8KeepsItsTitleAndTakesBackups) {
    const platform::HostPath root(drives.Root() + u'/' + platform::HostText("usb\xff"));
    ASSERT_EQ(mkdir(platform::HostBytes(root).constData(), 0777), 0);
    platform::DriveTable table = platform::CurrentDrives();
    table.Map(u'G', DriveType::Removable, root);
    platform::SetCurrentDrives(table);
    EXPECT_TRUE(engine::MediumPresent(D("G:\\")));
    QString title = S("写真");
    ASSERT_TRUE(engine::WriteMediaTitle(engine, D("G:\\"), title));
    EXPECT_EQ(engine::ReadMediaTitleCached(engine, D("G:")), S("写真"));
    // A backup goes there: the drive is ready, and its folder is made.
    const util::DestinationFolder made = util::PrepareDestinationFolder(D("G:\\Backup"));
    EXPECT_FALSE(made.error) << made.error->toStdString();
    EXPECT_TRUE(made.created);
    EXPECT_FALSE(util::MissingFolderText(D("G:\\Gone")).startsWith(util::DriveNotReadyText(u'G')));
}

TEST_F(Media, TitleFilesFollowTheCodePageRule) {
    // ﾃｽ in code page 932 is C3 BD, also "ý" in UTF-8.
    Title("F", "\xC3\xBD");
    EXPECT_EQ(engine::ReadMediaTitle(engine, D("F:\\")), S("ﾃｽ"));
    Title("F", "\xEF\xBB\xBF" + S("Café").toUtf8());
    EXPECT_EQ(engine::ReadMediaTitle(engine, D("F:\\")), S("Café"));
    Title("F", S("写真").toUtf8());
    EXPECT_EQ(engine::ReadMediaTitle(engine, D("F:\\")), S("写真"));
    QString title = S("Été");
    ASSERT_TRUE(engine::WriteMediaTitle(engine, D("F:\\"), title));
    EXPECT_EQ(drives.ReadFile(S("F:\\VolName.DAT")), "\xEF\xBB\xBF" + S("Été\r\n").toUtf8());
}

}  // namespace
