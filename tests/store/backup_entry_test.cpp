#include "store/backup_entry.h"
#include "store/definition_list.h"
#include "support/text.h"

#include <gtest/gtest.h>

#include <QDateTime>

using store::BackupEntry;
using store::BackupTime;
using store::SubFolders;
using testing_support::S;

namespace {

QString EntryWithFlags(const QString& flags) {
    return S("\x08"
             "C:\\A\x02"
             "D:\\A\x03"
             "2026/12/07 10:00\x04") +
           flags + S("\x05\x06");
}

// The flags an entry read from the file says, and the eight characters it is
// written back with: a hex digit that still says the same stays, anything
// else becomes what its field says, the last five are zeros.
TEST(BackupEntryFlags, ReadAndWrittenBackAsTheFileHasThem) {
    struct Case {
        const char* stored;
        SubFolders subFolders;
        bool locked;
        bool deleteMissing;
        const char* written;
    };
    for (const Case& c : {
             Case{"21100000", SubFolders::InOneArchive, true, true, "21100000"},
             Case{"10000000", SubFolders::EachAsEntry, false, false, "10000000"},
             Case{"A0B00000", SubFolders::EachAsEntry, false, true, "A0B00000"},
             Case{"x?b12345", SubFolders::EachAsEntry, false, true, "10B00000"},
             Case{"3F200000", SubFolders::EachAsEntry, false, false, "3F200000"},
             Case{"0", SubFolders::None, false, false, "00000000"},
             Case{"", SubFolders::None, false, false, "00000000"},
         }) {
        const BackupEntry entry = store::ParseEntryText(EntryWithFlags(S(c.stored)));
        EXPECT_EQ(entry.subFolders, c.subFolders) << c.stored;
        EXPECT_EQ(entry.locked, c.locked) << c.stored;
        EXPECT_EQ(entry.deleteMissing, c.deleteMissing) << c.stored;
        EXPECT_EQ(entry.FlagCharacters(), S(c.written)) << c.stored;
        EXPECT_EQ(store::EntryText(entry), EntryWithFlags(S(c.written))) << c.stored;
    }
    // A changed field writes its own character over what was read.
    BackupEntry changed = store::ParseEntryText(EntryWithFlags(S("A1B00000")));
    changed.subFolders = SubFolders::InOneArchive;
    changed.locked = false;
    changed.deleteMissing = false;
    EXPECT_EQ(changed.FlagCharacters(), S("20000000"));
    BackupEntry fresh;
    fresh.subFolders = SubFolders::EachAsEntry;
    fresh.deleteMissing = true;
    EXPECT_EQ(fresh.FlagCharacters(), S("10100000"));
}

TEST(BackupEntryFlags, CompressionComesFromTheDestination) {
    BackupEntry entry;
    for (const auto& [destination, kind] : {std::pair{"D:\\B.LZH", store::Compression::Lzh},
                                            {"D:\\b.zip", store::Compression::Zip},
                                            {"D:\\Backup", store::Compression::None},
                                            {"D:\\b.7z", store::Compression::None}}) {
        entry.destination = S(destination);
        EXPECT_EQ(entry.CompressionOf(), kind) << destination;
    }
}

// Never, a time, and a field that is neither: each reads back as the very
// text it was read from.
TEST(BackupTimeField, EveryFieldIsWrittenBackAsRead) {
    const BackupTime never = BackupTime::FromText(QString(16, u' '));
    EXPECT_TRUE(never.IsNever());
    EXPECT_EQ(never, BackupTime());
    EXPECT_FALSE(never.When());
    EXPECT_EQ(never.Text(), QString(16, u' '));

    const BackupTime time = BackupTime::FromText(S("2026/12/07 09:05"));
    EXPECT_FALSE(time.IsNever());
    ASSERT_TRUE(time.When());
    EXPECT_EQ(*time.When(), QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
    EXPECT_EQ(time.Text(), S("2026/12/07 09:05"));
    EXPECT_EQ(BackupTime::At(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 59))), time);

    for (const char* odd : {"", "2026/02/30 10:00", "2026/12/07 24:00", "2026-12-07 10:00",
                            "2026/12/07 10:00:00", "  2026/12/07 10", "----/--/-- --:--"}) {
        const BackupTime field = BackupTime::FromText(S(odd));
        EXPECT_FALSE(field.IsNever()) << odd;
        EXPECT_FALSE(field.When()) << odd;
        EXPECT_EQ(field.Text(), S(odd)) << odd;
        EXPECT_NE(field, BackupTime()) << odd;
    }
}

// A hand-edited entry left alone keeps every character through the list; one
// written anew keeps its odd time and the flag characters that still hold.
TEST(BackupTimeField, AnOddEntrySurvivesTheList) {
    const QString odd =
        S("\x08"
          "C:\\A\x02"
          "D:\\A.LZH\x03"
          "2026/13/01 xx\x04"
          "Ab?zzzzz\x05\x06");
    store::DefinitionList list(odd + QChar(0));
    const std::optional<BackupEntry> entry = list.EntryOf(S("C:\\A"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->lastBackup.Text(), S("2026/13/01 xx"));
    EXPECT_EQ(entry->storedFlags, S("Ab?zzzzz"));
    BackupEntry other = *entry;
    other.sourceFolder = S("C:\\B");
    EXPECT_TRUE(list.PutEntry(other));
    EXPECT_TRUE(list.Body().startsWith(odd));
    EXPECT_EQ(store::EntryText(*list.EntryOf(S("C:\\B"))), S("\x08"
                                                             "C:\\B\x02"
                                                             "D:\\A.LZH\x03"
                                                             "2026/13/01 xx   \x04"
                                                             "AB000000\x05\x06"));
}

}  // namespace
