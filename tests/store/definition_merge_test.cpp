// Two programs save one definition file: each save merges what its list
// changed into the file as it is on disk at that moment.
#include "platform/profile_lock.h"
#include "store/definition_changes.h"
#include "store/definition_file.h"
#include "store/definition_list.h"
#include "support/temp_drives.h"
#include "support/text.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace store;
using testing_support::S;

namespace {

const QString kNever(16, u' ');

BackupEntry Entry(const QString& source, const QString& destination, const QString& last = kNever) {
    BackupEntry entry;
    entry.sourceFolder = source;
    entry.destination = destination;
    entry.lastBackup = BackupTime::FromText(last);
    return entry;
}

class DefinitionMerge : public ::testing::Test {
  protected:
    void SetUp() override {
        DefinitionList list;
        list.PutEntry(Entry(S("C:\\a"), S("D:\\a")));
        list.PutEntry(Entry(S("C:\\b"), S("D:\\b")));
        list.PutEntry(Entry(S("C:\\c"), S("D:\\c")));
        ASSERT_TRUE(SaveDefinitions(path, list));
    }
    DefinitionList Loaded() const { return DefinitionList(LoadDefinitions(path).body); }
    // The file as a list built entry by entry: the bytes it must hold.
    QByteArray Expected(const std::vector<BackupEntry>& entries) const {
        DefinitionList list;
        for (const BackupEntry& entry : entries) list.PutEntry(entry);
        return DefinitionFileBytes(list.Body());
    }

    testing_support::TempDrives drives;
    const QString path = S("C:\\Kibako.Def");
};

// Tetoru read the file, ran a and b; the window deleted b and added d before
// Tetoru's save. Tetoru writes only its times, and b's stays deleted.
TEST_F(DefinitionMerge, TimesGoIntoTheFileAsItIsNowAndDeletedEntriesStayDeleted) {
    DefinitionList tetoru = Loaded();
    DefinitionList kibako = Loaded();
    ASSERT_TRUE(
        tetoru.SetLastBackup(S("C:\\a"), store::BackupTime::FromText(S("2026/12/08 03:00"))));
    ASSERT_TRUE(
        tetoru.SetLastBackup(S("c:\\B"), store::BackupTime::FromText(S("2026/12/08 03:01"))));
    ASSERT_TRUE(kibako.RemoveEntry(S("C:\\b"), false));
    ASSERT_TRUE(kibako.PutEntry(Entry(S("C:\\d"), S("D:\\d.LZH"))));
    ASSERT_TRUE(SaveDefinitions(path, kibako));
    ASSERT_TRUE(SaveDefinitions(path, tetoru));
    EXPECT_EQ(drives.ReadFile(path),
              Expected({Entry(S("C:\\a"), S("D:\\a"), S("2026/12/08 03:00")),
                        Entry(S("C:\\c"), S("D:\\c")), Entry(S("C:\\d"), S("D:\\d.LZH"))}));
    EXPECT_FALSE(tetoru.Modified());
    EXPECT_TRUE(tetoru.Changes().IsEmpty());
}

// The other order: the window saves its edits after Tetoru saved its times.
// An edited registration keeps the time on disk; a new one brings its own.
TEST_F(DefinitionMerge, EditsKeepTheTimesAnotherProgramWrote) {
    DefinitionList kibako = Loaded();
    DefinitionList tetoru = Loaded();
    ASSERT_TRUE(kibako.PutEntry(Entry(S("C:\\a"), S("D:\\elsewhere"))));
    ASSERT_TRUE(kibako.RemoveEntry(S("C:\\c"), false));
    ASSERT_TRUE(kibako.PutEntry(Entry(S("C:\\e"), S("D:\\e"), S("2026/12/01 09:00"))));
    for (const char* source : {"C:\\a", "C:\\b", "C:\\c"})
        ASSERT_TRUE(
            tetoru.SetLastBackup(S(source), store::BackupTime::FromText(S("2026/12/08 03:00"))));
    ASSERT_TRUE(SaveDefinitions(path, tetoru));
    ASSERT_TRUE(SaveDefinitions(path, kibako));
    EXPECT_EQ(drives.ReadFile(path),
              Expected({Entry(S("C:\\a"), S("D:\\elsewhere"), S("2026/12/08 03:00")),
                        Entry(S("C:\\b"), S("D:\\b"), S("2026/12/08 03:00")),
                        Entry(S("C:\\e"), S("D:\\e"), S("2026/12/01 09:00"))}));
}

// The last change to a key wins: a time set by the program's own run
// overrides the disk's, a registration deleted and made again is a new one
// (never backed up), and one made and deleted again was never there.
TEST_F(DefinitionMerge, LaterChangesToOneKeyOverrideEarlierOnes) {
    DefinitionList list = Loaded();
    ASSERT_TRUE(list.PutEntry(Entry(S("C:\\a"), S("D:\\a2"))));
    ASSERT_TRUE(list.SetLastBackup(S("C:\\a"), store::BackupTime::FromText(S("2026/12/08 04:00"))));
    ASSERT_TRUE(list.RemoveEntry(S("C:\\b"), false));
    ASSERT_TRUE(list.PutEntry(Entry(S("C:\\b"), S("D:\\b2"))));
    ASSERT_TRUE(list.PutEntry(Entry(S("C:\\x"), S("D:\\x"))));
    ASSERT_TRUE(list.RemoveEntry(S("C:\\x"), false));
    DefinitionList other = Loaded();
    ASSERT_TRUE(
        other.SetLastBackup(S("C:\\a"), store::BackupTime::FromText(S("2026/12/08 03:00"))));
    ASSERT_TRUE(
        other.SetLastBackup(S("C:\\b"), store::BackupTime::FromText(S("2026/12/08 03:00"))));
    ASSERT_TRUE(SaveDefinitions(path, other));
    ASSERT_TRUE(SaveDefinitions(path, list));
    EXPECT_EQ(drives.ReadFile(path),
              Expected({Entry(S("C:\\a"), S("D:\\a2"), S("2026/12/08 04:00")),
                        Entry(S("C:\\b"), S("D:\\b2")), Entry(S("C:\\c"), S("D:\\c"))}));
}

// A deletion with the registrations below counts each of them; one that
// another program registered below meanwhile stays. A cut made in repairing a
// damaged list counts as deletion too.
TEST_F(DefinitionMerge, DeletionsBelowAFolderAndRepairsAreRecordedEntryByEntry) {
    DefinitionList setup = Loaded();
    setup.PutEntry(Entry(S("C:\\a\\1"), S("D:\\a\\1")));
    setup.PutEntry(Entry(S("C:\\a\\2"), S("D:\\a\\2")));
    ASSERT_TRUE(SaveDefinitions(path, setup));
    DefinitionList list = Loaded();
    DefinitionList other = Loaded();
    ASSERT_TRUE(other.PutEntry(Entry(S("C:\\a\\3"), S("D:\\a\\3"))));
    ASSERT_TRUE(SaveDefinitions(path, other));
    ASSERT_TRUE(list.RemoveEntry(S("C:\\a"), true));
    const std::vector<BackupEntry> entries = list.Entries();
    const auto c = std::find_if(entries.begin(), entries.end(), [](const BackupEntry& entry) {
        return entry.sourceFolder == S("C:\\c");
    });
    ASSERT_NE(c, entries.end());
    list.RepairFrom(static_cast<std::size_t>(c - entries.begin()));
    ASSERT_TRUE(SaveDefinitions(path, list));
    EXPECT_EQ(drives.ReadFile(path),
              Expected({Entry(S("C:\\a\\3"), S("D:\\a\\3")), Entry(S("C:\\b"), S("D:\\b"))}));
}

// A save with nothing to merge leaves the file as another program wrote it;
// a merge that leaves no registration deletes it.
TEST_F(DefinitionMerge, NothingChangedWritesNothingAndAnEmptyMergeDeletesTheFile) {
    DefinitionList idle = Loaded();
    idle.SetModified(true);
    DefinitionList other = Loaded();
    ASSERT_TRUE(other.RemoveEntry(S("C:\\a"), false));
    ASSERT_TRUE(SaveDefinitions(path, other));
    const QByteArray written = drives.ReadFile(path);
    const SaveResult idleSave = SaveDefinitions(path, idle);
    ASSERT_TRUE(idleSave);
    EXPECT_FALSE(idleSave.nothingToDo);
    EXPECT_FALSE(idle.Modified());
    EXPECT_EQ(drives.ReadFile(path), written);

    DefinitionList all = Loaded();
    ASSERT_TRUE(all.RemoveEntry(S("C:\\b"), false));
    ASSERT_TRUE(all.RemoveEntry(S("C:\\c"), false));
    ASSERT_TRUE(SaveDefinitions(path, all));
    EXPECT_FALSE(QFileInfo::exists(drives.Host(path)));
}

// The check of registrations sorts and corrects a copy of the window's list:
// what it changed is found entry by entry, after the window's own edits. A
// list saved under a name the user chose replaces that file whole.
TEST_F(DefinitionMerge, ChangesBetweenTwoListsAndAWholeReplacement) {
    DefinitionList window = Loaded();
    ASSERT_TRUE(window.PutEntry(Entry(S("C:\\z"), S("D:\\z"))));
    DefinitionList corrected(window.Body());
    ASSERT_TRUE(corrected.RemoveEntry(S("C:\\b"), false));
    ASSERT_TRUE(corrected.PutEntry(Entry(S("C:\\c"), S("E:\\c"))));
    DefinitionList other = Loaded();
    ASSERT_TRUE(
        other.SetLastBackup(S("C:\\c"), store::BackupTime::FromText(S("2026/12/08 03:00"))));
    ASSERT_TRUE(SaveDefinitions(path, other));
    corrected.SetChanges(DefinitionChanges::Between(window, corrected));
    ASSERT_TRUE(SaveDefinitions(path, corrected));
    EXPECT_EQ(drives.ReadFile(path), Expected({Entry(S("C:\\a"), S("D:\\a")),
                                               Entry(S("C:\\c"), S("E:\\c"), S("2026/12/08 03:00")),
                                               Entry(S("C:\\z"), S("D:\\z"))}));

    DefinitionList chosen;
    chosen.PutEntry(Entry(S("C:\\only"), S("D:\\only"), S("2026/12/01 00:00")));
    chosen.SetChanges(DefinitionChanges::ReplacingWith(chosen));
    ASSERT_TRUE(SaveDefinitions(path, chosen));
    EXPECT_EQ(drives.ReadFile(path),
              Expected({Entry(S("C:\\only"), S("D:\\only"), S("2026/12/01 00:00"))}));
}

// While another program holds the file's lock, a save waits for it.
TEST_F(DefinitionMerge, ASaveWaitsForTheLockOfTheFile) {
    const QByteArray before = drives.ReadFile(path);
    DefinitionList list = Loaded();
    ASSERT_TRUE(list.SetLastBackup(S("C:\\a"), store::BackupTime::FromText(S("2026/12/08 03:00"))));
    std::atomic<bool> saved = false;
    std::thread saver;
    {
        const platform::ProfileLock held(platform::HostPath(drives.Host(path)));
        ASSERT_TRUE(held.Held());
        saver = std::thread([&] { saved = SaveDefinitions(path, list).ok; });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(saved);
        EXPECT_EQ(drives.ReadFile(path), before);
    }
    saver.join();
    EXPECT_TRUE(saved);
    EXPECT_NE(drives.ReadFile(path), before);
}

}  // namespace

// `Photos` and `photos` are two folders: registering both in one session
// saves both, and each keeps its own destination and time.
TEST_F(DefinitionMerge, CaseTwinsRegisteredInOneSessionAreBothSaved) {
    // Made beside each other: a drive path would resolve to the twin made first.
    QDir().mkpath(drives.Host(S("C:\\")) + S("/Photos"));
    QDir().mkpath(drives.Host(S("C:\\")) + S("/photos"));
    DefinitionList kibako = Loaded();
    kibako.PutEntry(Entry(S("C:\\Photos"), S("D:\\upper")));
    kibako.PutEntry(Entry(S("C:\\photos"), S("D:\\lower")));
    ASSERT_TRUE(SaveDefinitions(path, kibako));
    DefinitionList tetoru = Loaded();
    ASSERT_TRUE(
        tetoru.SetLastBackup(S("C:\\photos"), store::BackupTime::FromText(S("2026/12/08 03:00"))));
    ASSERT_TRUE(SaveDefinitions(path, tetoru));
    const DefinitionList saved = Loaded();
    ASSERT_TRUE(saved.EntryOf(S("C:\\Photos")));
    ASSERT_TRUE(saved.EntryOf(S("C:\\photos")));
    EXPECT_EQ(saved.EntryOf(S("C:\\Photos"))->destination, S("D:\\upper"));
    EXPECT_EQ(saved.EntryOf(S("C:\\Photos"))->lastBackup.Text(), kNever);
    EXPECT_EQ(saved.EntryOf(S("C:\\photos"))->destination, S("D:\\lower"));
    EXPECT_EQ(saved.EntryOf(S("C:\\photos"))->lastBackup.Text(), S("2026/12/08 03:00"));
}
