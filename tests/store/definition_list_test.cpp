#include "store/definition_list.h"
#include "support/recording_messages.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <QDir>

#include <algorithm>

using store::BackupEntry;
using store::Compression;
using store::DefinitionList;
using store::SubFolders;

namespace {

using testing_support::S;

BackupEntry Entry(const char* source, const char* destination = "D:\\BACKUP",
                  SubFolders mode = SubFolders::None) {
    BackupEntry entry;
    entry.sourceFolder = S(source);
    entry.destination = S(destination);
    entry.lastBackup = store::BackupTime();
    entry.subFolders = mode;
    return entry;
}

QStringList Sources(const DefinitionList& list) {
    QStringList sources;
    for (const auto& entry : list.Entries()) sources.append(entry.sourceFolder);
    return sources;
}

class DefinitionListTest : public ::testing::Test {
  protected:
    DefinitionList list;
    testing_support::RecordingMessages messages;
};

TEST_F(DefinitionListTest, EntriesHaveTheStoredLayout) {
    BackupEntry entry = Entry("C:\\DATA", "E:\\B.LZH", SubFolders::InOneArchive);
    entry.locked = true;
    entry.deleteMissing = true;
    list.PutEntry(entry);
    EXPECT_EQ(list.Body(), S("\x08"
                             "C:\\DATA\x02"
                             "E:\\B.LZH\x03                \x04"
                             "21100000\x05\x06") +
                               QChar(0));
    EXPECT_TRUE(list.Modified());
    const BackupEntry read = *list.EntryOf(S("C:\\DATA"));
    EXPECT_EQ(read.destination, S("E:\\B.LZH"));
    EXPECT_EQ(read.CompressionOf(), Compression::Lzh);
    EXPECT_TRUE(read.locked);
    EXPECT_TRUE(read.deleteMissing);
    EXPECT_TRUE(read.IncludesSubFolders());
}

TEST_F(DefinitionListTest, KeysIgnoreOnlyAsciiCase) {
    list.PutEntry(Entry("C:\\Data", "D:\\ONE"));
    list.PutEntry(Entry("c:\\DATA", "D:\\TWO"));
    EXPECT_EQ(Sources(list), QStringList({"c:\\DATA"}));
    EXPECT_EQ(list.Entries()[0].destination, S("D:\\TWO"));
    list.PutEntry(Entry("C:\\ｄａｔａ"));
    list.PutEntry(Entry("C:\\ＤＡＴＡ"));
    EXPECT_EQ(list.Entries().size(), 3u);
}

TEST_F(DefinitionListTest, InsertsInOrderWithSubFoldersRightAfterTheirFolder) {
    for (const char* source :
         {"C:\\B", "C:\\A!x", "C:\\a\\sub", "C:\\A", "C:\\A\\SUB\\deep", "D:\\"}) {
        list.PutEntry(Entry(source));
    }
    EXPECT_EQ(Sources(list),
              QStringList({"C:\\A", "C:\\a\\sub", "C:\\A\\SUB\\deep", "C:\\A!x", "C:\\B", "D:\\"}));
    // Replacing keeps the position, and the old time goes with the old entry.
    list.SetLastBackup(S("C:\\A!x"), store::BackupTime::FromText(S("2001/02/03 04:05")));
    list.PutEntry(Entry("c:\\a!X", "Z:\\NEW"));
    EXPECT_EQ(Sources(list)[3], S("c:\\a!X"));
    EXPECT_EQ(list.Entries()[3].lastBackup.Text(), QString(16, u' '));
}

TEST_F(DefinitionListTest, AHandEditedBodyOutOfOrderIsSortedOnInsert) {
    list.SetBody(S("\x08"
                   "C:\\Z\x02"
                   "D\x03                \x04"
                   "00000000\x05\x06"
                   "\x08"
                   "C:\\A\x02"
                   "D\x03                \x04"
                   "00000000\x05\x06") +
                 QChar(0));
    list.PutEntry(Entry("C:\\M"));
    EXPECT_EQ(Sources(list), QStringList({"C:\\A", "C:\\M", "C:\\Z"}));
}

TEST_F(DefinitionListTest, RemovesWithDescendantsUpToTheFirstStranger) {
    for (const char* source : {"C:\\A", "C:\\A\\B", "C:\\A\\B\\C", "C:\\AB", "C:\\Z"}) {
        list.PutEntry(Entry(source));
    }
    list.SetModified(false);
    EXPECT_TRUE(list.RemoveEntry(S("c:\\a"), true));
    EXPECT_EQ(Sources(list), QStringList({"C:\\AB", "C:\\Z"}));
    EXPECT_TRUE(list.Modified());
    EXPECT_FALSE(list.RemoveEntry(S("C:\\nothing"), false));
    EXPECT_EQ(Sources(list), QStringList({"C:\\AB", "C:\\Z"}));
    EXPECT_EQ(messages.beeps, 0);  // the caller decides whether to beep
    EXPECT_TRUE(list.RemoveEntry(S("C:\\AB"), false));
    EXPECT_TRUE(list.RemoveEntry(S("C:\\Z"), false));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Body(), QString(QChar(0)));
}

TEST_F(DefinitionListTest, LastBackupIsRewrittenInPlace) {
    list.PutEntry(Entry("C:\\A"));
    list.PutEntry(Entry("C:\\B"));
    const qsizetype length = list.Body().size();
    list.SetModified(false);
    EXPECT_TRUE(list.SetLastBackup(S("C:\\B"), store::BackupTime::FromText(S("2026/12/07 23:59"))));
    EXPECT_EQ(list.Body().size(), length);
    EXPECT_EQ(list.Entries()[1].lastBackup.Text(), S("2026/12/07 23:59"));
    EXPECT_TRUE(list.Modified());
    EXPECT_FALSE(
        list.SetLastBackup(S("C:\\C"), store::BackupTime::FromText(S("2026/12/07 23:59"))));
}

TEST_F(DefinitionListTest, MalformedEntriesAreReadSafelyAndRepairCutsThem) {
    list.SetBody(S("\x08"
                   "C:\\A\x02"
                   "D\x03                \x04"
                   "10000000\x05\x06"
                   "\x08"
                   "C:\\BROKEN no separators"
                   "\x08"
                   "C:\\C\x02"
                   "D\x03") +
                 QChar(0));
    const std::vector<BackupEntry> entries = list.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[0].wellFormed);
    EXPECT_FALSE(entries[1].wellFormed);
    EXPECT_EQ(entries[1].sourceFolder, S("C:\\BROKEN no separators"));
    EXPECT_TRUE(entries[2].wellFormed);
    list.SetModified(false);
    list.RepairFrom(1);
    EXPECT_EQ(Sources(list), QStringList({"C:\\A"}));
    EXPECT_FALSE(list.Modified());
}

TEST_F(DefinitionListTest, RecoversLastBackupFromTheArchiveTime) {
    testing_support::TempDrives drives;
    const QDateTime stamp(QDate(2020, 1, 2), QTime(3, 4, 59));
    drives.Map(u'D', platform::DriveType::Fixed);
    drives.WriteFile(S("D:\\B.LZH"), "x", stamp.toSecsSinceEpoch());
    list.PutEntry(Entry("C:\\A", "D:\\B.LZH"));
    list.PutEntry(Entry("C:\\B", "D:\\MISSING.ZIP"));
    list.PutEntry(Entry("C:\\C", "D:\\PLAIN"));
    list.SetModified(false);
    EXPECT_EQ(list.RecoverLastBackups(), 1);
    EXPECT_EQ(list.Entries()[0].lastBackup.Text(), S("2020/01/02 03:04"));
    EXPECT_TRUE(list.Modified());
}

// A long list driven through every operation, checked against the plain text
// the operations stand for: entries sorted by key, each entry's text in turn,
// then the terminator; every position the list gives points into that text.
class LongDefinitionList : public ::testing::Test {
  protected:
    static BackupEntry Numbered(int i) {
        BackupEntry entry;
        // Keys in scrambled order, in both cases, some below others.
        const int n = i * 7919 % 4001;
        entry.sourceFolder = QStringLiteral("%1:\\写真\\%2%3")
                                 .arg(i % 2 ? u'C' : u'c')
                                 .arg(n / 2, 4, 10, QChar(u'0'))
                                 .arg(n % 2 ? QStringLiteral("\\sub") : QString());
        entry.destination = QStringLiteral("D:\\B\\%1").arg(i);
        entry.lastBackup = store::BackupTime();
        entry.subFolders = static_cast<SubFolders>(i % 3);
        return entry;
    }
    void ExpectBodyIs(const std::vector<BackupEntry>& expected) {
        QString body;
        for (const BackupEntry& entry : expected) body += store::EntryText(entry);
        body += QChar(0);
        ASSERT_EQ(list.Body(), body);
        const std::vector<BackupEntry> entries = list.Entries();
        ASSERT_EQ(entries.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const BackupEntry& entry = expected[i];
            const auto found = list.EntryOf(entry.sourceFolder.toLower());
            ASSERT_TRUE(found) << entry.sourceFolder.toStdString();
            ASSERT_EQ(found->sourceFolder, entry.sourceFolder);
            ASSERT_EQ(EntryText(*found), EntryText(entry));
            ASSERT_EQ(entries[i].sourceFolder, entry.sourceFolder);
        }
    }
    DefinitionList list;
    std::vector<BackupEntry> model;  // the same entries, kept sorted by hand
};

TEST_F(LongDefinitionList, EveryOperationMatchesThePlainText) {
    for (int i = 0; i < 4001; ++i) {
        const BackupEntry entry = Numbered(i);
        ASSERT_TRUE(list.PutEntry(entry));
        const auto place = std::upper_bound(
            model.begin(), model.end(), entry, [](const BackupEntry& a, const BackupEntry& b) {
                return store::CompareSortKeys(a.sourceFolder, b.sourceFolder) < 0;
            });
        model.insert(place, entry);
    }
    ExpectBodyIs(model);

    // Times rewritten in place, entries replaced, removed with and without
    // the folders below them.
    for (std::size_t i = 0; i < model.size(); i += 7) {
        model[i].lastBackup = store::BackupTime::FromText(QStringLiteral("2026/12/08 12:00"));
        ASSERT_TRUE(list.SetLastBackup(model[i].sourceFolder.toUpper(), model[i].lastBackup));
    }
    for (std::size_t i = 3; i < model.size(); i += 11) {
        model[i].destination = QStringLiteral("E:\\REPLACED%1").arg(i);
        model[i].sourceFolder = model[i].sourceFolder.toLower();
        ASSERT_TRUE(list.PutEntry(model[i]));
    }
    for (std::size_t i = 5; i < model.size(); i += 13) {
        const bool below = i + 1 < model.size() && model[i + 1].sourceFolder.toUpper().startsWith(
                                                       model[i].sourceFolder.toUpper() + u'\\');
        ASSERT_TRUE(list.RemoveEntry(model[i].sourceFolder, true));
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(i),
                    model.begin() + (below ? i + 2 : i + 1));
    }
    ExpectBodyIs(model);
    EXPECT_TRUE(std::equal(model.begin(), model.end(), list.Entries().begin(),
                           [](const BackupEntry& a, const BackupEntry& b) {
                               return a.sourceFolder == b.sourceFolder &&
                                      a.destination == b.destination &&
                                      a.lastBackup == b.lastBackup;
                           }));

    // The text read back is the same list, copies included.
    DefinitionList reread(list.Body());
    EXPECT_EQ(reread.Body(), list.Body());
    DefinitionList copy = reread;
    EXPECT_TRUE(copy.RemoveEntry(model.front().sourceFolder, false));
    EXPECT_EQ(reread.Body(), list.Body());
    EXPECT_EQ(copy.Entries().front().sourceFolder, model[1].sourceFolder);
}

TEST_F(DefinitionListTest, ARepeatedKeyIsFoundAgainAfterTheFirstIsRemoved) {
    const QString one =
        S("\x08"
          "C:\\A\x02"
          "D:\\ONE\x03                \x04"
          "00000000\x05\x06");
    const QString two =
        S("\x08"
          "c:\\a\x02"
          "D:\\TWO\x03                \x04"
          "00000000\x05\x06");
    list.SetBody(S("lead") + one + two + QChar(0) + S("after"));
    EXPECT_EQ(list.EntryOf(S("C:\\A"))->destination, S("D:\\ONE"));
    EXPECT_TRUE(list.RemoveEntry(S("C:\\A"), false));
    EXPECT_EQ(list.Entries().front().destination, S("D:\\TWO"));
    EXPECT_EQ(list.Body(), S("lead") + two + QChar(0) + S("after"));
    EXPECT_TRUE(list.SetLastBackup(S("C:\\A"), store::BackupTime::FromText(S("2026/01/01 00:00"))));
    EXPECT_TRUE(list.RemoveEntry(S("C:\\A"), false));
    EXPECT_FALSE(list.HasEntry(S("C:\\A")));
}

TEST_F(DefinitionListTest, FieldsHoldingFramingCharactersAreRefused) {
    list.PutEntry(Entry("C:\\A"));
    const QString before = list.Body();
    list.SetModified(false);
    EXPECT_FALSE(list.PutEntry(Entry("C:\\B\x08x")));
    EXPECT_FALSE(list.PutEntry(Entry("C:\\C", "D:\\\x02")));
    EXPECT_EQ(list.Body(), before);
    EXPECT_FALSE(list.Modified());
}

}  // namespace

// On a case-sensitive disk "Photos" and "photos" are two folders: each keeps
// its own registration; a key in other case still finds a folder that has
// no twin, as a definition file carried over from Windows needs.
TEST(DefinitionListTwins, CaseTwinsOnDiskAreTwoKeys) {
    testing_support::TempDrives drives;
    drives.MakeFolder(QStringLiteral("C:\\Photos"));
    QDir().mkpath(drives.Root() + QStringLiteral("/c/photos/sub"));
    drives.MakeFolder(QStringLiteral("C:\\Mail"));
    DefinitionList list;
    ASSERT_TRUE(list.PutEntry(Entry("C:\\Photos", "D:\\UPPER")));
    ASSERT_TRUE(list.PutEntry(Entry("C:\\photos", "D:\\lower")));
    ASSERT_TRUE(list.PutEntry(Entry("C:\\photos\\sub", "D:\\lower\\sub")));
    ASSERT_TRUE(list.PutEntry(Entry("C:\\MAIL", "D:\\Mail")));
    const auto destination = [&list](const QString& source) {
        const auto entry = list.EntryOf(source);
        return entry ? entry->destination : QString();
    };
    EXPECT_EQ(destination(QStringLiteral("C:\\Photos")), u"D:\\UPPER");
    EXPECT_EQ(destination(QStringLiteral("C:\\photos")), u"D:\\lower");
    EXPECT_EQ(destination(QStringLiteral("C:\\mail")), u"D:\\Mail");
    // Removing one twin with its sub-folders leaves the other alone.
    ASSERT_TRUE(list.RemoveEntry(QStringLiteral("C:\\photos"), true));
    EXPECT_EQ(destination(QStringLiteral("C:\\Photos")), u"D:\\UPPER");
    EXPECT_EQ(destination(QStringLiteral("C:\\photos\\sub")), u"");
    EXPECT_EQ(list.Entries().size(), 2u);
}
