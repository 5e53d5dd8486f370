#include "store/definition_file.h"
#include "platform/host_path.h"
#include "store/settings.h"
#include "support/recording_messages.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace store;

namespace {

using testing_support::D;
using testing_support::S;

class DefinitionFile : public ::testing::Test {
  protected:
    void SetUp() override {
        BackupEntry entry;
        entry.sourceFolder = S("C:\\写真");
        entry.destination = S("(E)PHOTOS\\Backup");
        entry.lastBackup = store::BackupTime::FromText(S("2026/12/07 10:00"));
        list.PutEntry(entry);
    }
    testing_support::TempDrives drives;
    testing_support::RecordingMessages messages;
    DefinitionList list;
    const QString path = S("C:\\Kibako.Def");
};

TEST_F(DefinitionFile, RoundTripsAndCountsCharactersNotBytes) {
    ASSERT_TRUE(SaveDefinitions(path, list));
    EXPECT_FALSE(list.Modified());
    const QByteArray bytes = drives.ReadFile(path);
    const qsizetype characters = list.Body().size();
    EXPECT_EQ(bytes.left(32), (QStringLiteral("%1").arg(characters, 8, 16, QChar(u'0')).toUpper() +
                               QString(24, u'0'))
                                  .toLatin1());
    EXPECT_EQ(bytes.size(), 32 + characters + 2);     // two double-byte characters
    EXPECT_TRUE(bytes.contains("\x8E\xCA\x90\x5E"));  // 写真 in code page 932
    const LoadResult loaded = LoadDefinitions(S("c:\\KIBAKO.DEF"));
    EXPECT_EQ(loaded.body, list.Body());
    EXPECT_TRUE(loaded.warning.isEmpty());
}

TEST_F(DefinitionFile, NamesOutsideTheCodePageAreKeptAsUtf8) {
    BackupEntry entry;
    entry.sourceFolder = S("C:\\Café");
    entry.destination = S("D:\\B");
    entry.lastBackup = store::BackupTime();
    list.PutEntry(entry);
    ASSERT_TRUE(SaveDefinitions(path, list));
    // The mark keeps the file from being read as code page 932; the header
    // still counts the characters of the body, not its bytes.
    const QByteArray bytes = drives.ReadFile(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.mid(3, 8).toInt(nullptr, 16), list.Body().size());
    EXPECT_EQ(bytes.size(), 3 + 32 + list.Body().toUtf8().size());
    const LoadResult loaded = LoadDefinitions(path);
    EXPECT_EQ(loaded.body, list.Body());
    EXPECT_TRUE(loaded.warning.isEmpty());
}

// ﾃｽ in code page 932 is C3 BD, which is also "ý" in UTF-8.
TEST_F(DefinitionFile, HalfWidthKatakanaThatLookLikeUtf8StayKatakana) {
    // The only entry, so that no other byte makes the file invalid UTF-8.
    DefinitionList katakana;
    BackupEntry entry;
    entry.sourceFolder = S("C:\\ﾃｽ");
    entry.destination = S("D:\\B");
    entry.lastBackup = store::BackupTime();
    katakana.PutEntry(entry);
    ASSERT_TRUE(SaveDefinitions(path, katakana));
    const QByteArray bytes = drives.ReadFile(path);
    EXPECT_TRUE(bytes.contains("C:\\\xC3\xBD"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    const LoadResult loaded = LoadDefinitions(path);
    EXPECT_EQ(loaded.body, katakana.Body());
    EXPECT_TRUE(loaded.warning.isEmpty());
    // A second save writes the same bytes and keeps no damaged copy.
    ASSERT_TRUE(SaveDefinitions(path, katakana));
    EXPECT_EQ(drives.ReadFile(path), bytes);
    EXPECT_FALSE(QFileInfo::exists(drives.Host(path + S(".damaged"))));
}

TEST_F(DefinitionFile, EmptyListDeletesTheFileAndMissingFileLoadsEmpty) {
    ASSERT_TRUE(SaveDefinitions(path, list));
    DefinitionList empty(LoadDefinitions(path).body);
    ASSERT_TRUE(empty.RemoveEntry(S("C:\\写真"), false));
    const SaveResult deleted = SaveDefinitions(path, empty);
    ASSERT_TRUE(deleted);
    EXPECT_FALSE(deleted.nothingToDo);
    EXPECT_FALSE(QFileInfo::exists(drives.Host(path)));
    EXPECT_FALSE(empty.Modified());
    const SaveResult again = SaveDefinitions(path, empty);  // nothing to delete
    ASSERT_TRUE(again);
    EXPECT_TRUE(again.nothingToDo);
    EXPECT_TRUE(LoadDefinitions(path).body.isEmpty());
    const SaveResult noPath = SaveDefinitions(QString(), list);
    EXPECT_FALSE(noPath);
    EXPECT_TRUE(noPath.nothingToDo);
    EXPECT_EQ(messages.beeps, 0);  // the store never beeps: its callers do
}

TEST_F(DefinitionFile, DamagedFilesLoadWhatIsReadableAndAreKeptOnSave) {
    const QByteArray good = DefinitionFileBytes(list.Body());
    struct Case {
        const char* what;
        QByteArray bytes;
        QString expectedBody;
        bool warns;
    };
    const QString body = list.Body();
    const QList<Case> cases = {
        {"header not hexadecimal", "XYZ" + good.mid(3), body, true},
        {"length of 0 before a body", "00000000" + good.mid(8), body, true},
        {"length past the end", "000FFFFF" + good.mid(8), body, true},
        {"no terminator", good.left(good.size() - 1), body, true},
        {"shorter than a header", good.left(10), QString(), true},
        {"undecodable bytes", good.left(40) + "\xFF\xFF" + good.mid(42), QString(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drives.WriteFile(path, c.bytes);
        const LoadResult loaded = LoadDefinitions(path);
        if (!c.expectedBody.isNull()) {
            EXPECT_EQ(loaded.body, c.expectedBody);
        }
        EXPECT_EQ(!loaded.warning.isEmpty(), c.warns);
        if (!loaded.body.isEmpty()) {
            EXPECT_EQ(loaded.body.back(), QChar(0));
        }
    }
    // A flipped entry marker (0x08 to 0x00) ends the body early: what comes
    // before it is kept, and the loss is reported.
    BackupEntry second;
    second.sourceFolder = S("C:\\second");
    second.destination = S("D:\\B");
    second.lastBackup = store::BackupTime();
    DefinitionList two = list;
    two.PutEntry(second);
    QByteArray flipped = DefinitionFileBytes(two.Body());
    const qsizetype marker = flipped.lastIndexOf('\x08');
    ASSERT_GT(marker, 32);
    flipped[marker] = '\0';
    drives.WriteFile(path, flipped);
    const LoadResult cut = LoadDefinitions(path);
    EXPECT_FALSE(cut.warning.isEmpty());
    const qsizetype lastEntry = two.Body().lastIndexOf(kEntryMarker);
    EXPECT_EQ(cut.body, two.Body().left(lastEntry) + QChar(0));
    // Nothing but the header: an empty list, no damage.
    drives.WriteFile(path, QByteArray(32, '0'));
    EXPECT_TRUE(LoadDefinitions(path).warning.isEmpty());

    // Saving over a damaged file keeps the damaged bytes beside it and
    // writes what was readable, repaired, with the list's changes.
    drives.WriteFile(path, cases[3].bytes);
    ASSERT_TRUE(SaveDefinitions(path, list));
    EXPECT_EQ(drives.ReadFile(path + S(".damaged")), cases[3].bytes);
    EXPECT_EQ(drives.ReadFile(path), good);
}

// A save decides on the ".damaged" copy by the file as it is at the save,
// whatever it was when this program loaded it.
TEST_F(DefinitionFile, ASaveJudgesDamageByTheFileAsItIsNow) {
    ASSERT_TRUE(SaveDefinitions(path, list));
    const QByteArray good = drives.ReadFile(path);
    const QByteArray damaged = "ZZZZZZZZ" + good.mid(8);
    drives.WriteFile(path, damaged);
    EXPECT_FALSE(LoadDefinitions(path).warning.isEmpty());
    list.SetModified(true);
    ASSERT_TRUE(SaveDefinitions(path, list));
    EXPECT_EQ(drives.ReadFile(path + S(".damaged")), damaged);
    EXPECT_EQ(drives.ReadFile(path), good);

    // Another program damages the file after this one saved it.
    ASSERT_TRUE(QFile::remove(drives.Host(path + S(".damaged"))));
    const QByteArray cut = good.left(good.size() - 6);
    drives.WriteFile(path, cut);
    ASSERT_TRUE(
        list.SetLastBackup(S("C:\\写真"), store::BackupTime::FromText(S("2026/12/08 09:00"))));
    ASSERT_TRUE(SaveDefinitions(path, list));
    EXPECT_EQ(drives.ReadFile(path + S(".damaged")), cut);
    const LoadResult repaired = LoadDefinitions(path);
    EXPECT_TRUE(repaired.warning.isEmpty());
    const std::optional<BackupEntry> entry = DefinitionList(repaired.body).EntryOf(S("C:\\写真"));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->lastBackup.Text(), S("2026/12/08 09:00"));
}

TEST_F(DefinitionFile, SpecialFilesAreRefusedAndNeverSavedOver) {
    ASSERT_EQ(mkfifo(QFile::encodeName(drives.Host(path)).constData(), 0600), 0);
    const LoadResult loaded = LoadDefinitions(path);  // returns at once
    EXPECT_TRUE(loaded.refused);
    EXPECT_TRUE(loaded.warning.contains(path));
    QString error;
    list.SetModified(true);
    EXPECT_FALSE(SaveDefinitions(path, list, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(drives.Host(path)).isSymLink() ||
                !QFileInfo(drives.Host(path)).isFile());  // still the FIFO
}

TEST_F(DefinitionFile, ChoosesCommandLineThenCatalogNameThenDefault) {
    const Settings settings(S("C:\\Kibako.INI"));
    EXPECT_EQ(ChooseDefinitionFile({S("\"C:\\my"), S("list.def\"")}, settings, D("C:")),
              S("\"C:\\my list.def\""));
    EXPECT_EQ(ChooseDefinitionFile({}, settings, D("C:")), S("C:\\Kibako.Def"));
    settings.PutSettingText(store::SettingName(S("CatalogName")), S("C:\\other.def"));
    EXPECT_EQ(ChooseDefinitionFile({}, settings, D("C:")), S("C:\\Kibako.Def"));  // missing file
    drives.WriteFile(S("C:\\other.def"), "x");
    EXPECT_EQ(ChooseDefinitionFile({}, settings, D("C:")), S("C:\\other.def"));
}

TEST_F(DefinitionFile, AHostPathOnTheCommandLineNamesTheHostFile) {
    const Settings settings(S("C:\\Kibako.INI"));
    drives.WriteFile(S("C:\\lists\\my list.def"), "x");
    const QString host = drives.Host(S("C:\\lists\\my list.def"));
    EXPECT_EQ(ChooseDefinitionFile({host}, settings, D("C:")), S("C:\\lists\\my list.def"));
    // Split at the blank as a shell would, with a "." to tidy.
    EXPECT_EQ(ChooseDefinitionFile({drives.Host(S("C:\\lists")) + S("/./my"), S("list.def")},
                                   settings, D("C:")),
              S("C:\\lists\\my list.def"));

    // A folder that no drive reaches gets a drive of its own.
    QTemporaryDir outside;
    const QString elsewhere = outside.filePath(S("elsewhere.def"));
    const QString windows = ChooseDefinitionFile({elsewhere}, settings, D("C:"));
    ASSERT_TRUE(windows.endsWith(S(":\\elsewhere.def"))) << windows.toStdString();
    EXPECT_EQ(platform::ToHostPath(platform::DrivePath(windows)), platform::HostPath(elsewhere));
}

// A long list goes through the file unchanged: the same bytes after a load
// and a save, and the same text after a load.
TEST_F(DefinitionFile, ALongListRoundTripsByteForByte) {
    for (int i = 0; i < 5000; ++i) {
        BackupEntry entry;
        entry.sourceFolder = QStringLiteral("C:\\写真\\%1\\フォルダー").arg(i * 7919 % 10007);
        entry.destination = QStringLiteral("(E)PHOTOS\\Backup\\%1").arg(i);
        entry.lastBackup =
            i % 2 ? store::BackupTime::FromText(QStringLiteral("2026/12/07 10:00")) : BackupTime();
        entry.subFolders = static_cast<SubFolders>(i % 3);
        list.PutEntry(entry);
    }
    ASSERT_TRUE(SaveDefinitions(path, list));
    const QByteArray saved = drives.ReadFile(path);
    DefinitionList loaded(LoadDefinitions(path).body);
    EXPECT_EQ(loaded.Body(), list.Body());
    EXPECT_EQ(loaded.Entries().size(), 5001u);
    loaded.SetModified(true);
    ASSERT_TRUE(SaveDefinitions(path, loaded));
    EXPECT_EQ(drives.ReadFile(path), saved);
}

}  // namespace
