#include "engine/folder_changed.h"
#include "engine_fixture.h"

#include <QDateTime>

using namespace testing_support;
using engine::FolderChangedSince;

namespace {

qint64 At(int hour, int minute, int second) {
    return QDateTime(QDate(2026, 12, 7), QTime(hour, minute, second)).toSecsSinceEpoch();
}

TEST(FolderChanged, ComparesToTheMinuteAndIgnoresThumbsDb) {
    TempDrives drives;
    const store::BackupTime last = store::BackupTime::FromText(S("2026/12/07 10:15"));
    drives.WriteFile(S("C:\\f\\a.txt"), "a", At(10, 14, 59));
    EXPECT_FALSE(FolderChangedSince(D("C:\\f"), last, true));
    drives.WriteFile(S("C:\\f\\tHuMbS.dB"), "t", At(11, 0, 0));
    EXPECT_FALSE(FolderChangedSince(D("C:\\f"), last, true));
    drives.WriteFile(S("C:\\f\\sub\\deep\\b.txt"), "b", At(10, 16, 0));
    EXPECT_FALSE(FolderChangedSince(D("C:\\f"), last, false));
    EXPECT_TRUE(FolderChangedSince(D("C:\\f"), last, true));
}

TEST(FolderChanged, NeverBackedUpCountsAnyFile) {
    TempDrives drives;
    const store::BackupTime never;
    drives.MakeFolder(S("C:\\empty\\sub"));
    EXPECT_FALSE(FolderChangedSince(D("C:\\empty"), never, true));
    drives.WriteFile(S("C:\\one\\old.txt"), "x", 0);
    EXPECT_TRUE(FolderChangedSince(D("C:\\one"), never, false));
    EXPECT_TRUE(FolderChangedSince(D("C:\\missing"), never, true));
    EXPECT_TRUE(FolderChangedSince(D("Q:\\unmapped"),
                                   store::BackupTime::FromText(S("2026/12/07 10:15")), true));
}

// A last-backup text that names no real time (edited by hand) is compared
// as text, as the stored times always were.
TEST(FolderChanged, ATextThatIsNoTimeComparesAsText) {
    TempDrives drives;
    const store::BackupTime impossible = store::BackupTime::FromText(S("2026/02/30 10:00"));
    const auto day = [](int month, int date) {
        return QDateTime(QDate(2026, month, date), QTime(12, 0)).toSecsSinceEpoch();
    };
    drives.WriteFile(S("C:\\f\\a.txt"), "a", day(2, 28));
    EXPECT_FALSE(FolderChangedSince(D("C:\\f"), impossible, false));
    drives.WriteFile(S("C:\\f\\b.txt"), "b", day(3, 1));
    EXPECT_TRUE(FolderChangedSince(D("C:\\f"), impossible, false));
    EXPECT_TRUE(
        FolderChangedSince(D("C:\\f"), store::BackupTime::FromText(S("2026/02/28 11:59")), false));
    EXPECT_FALSE(
        FolderChangedSince(D("C:\\f"), store::BackupTime::FromText(S("2026/03/01 12:01")), false));
}

// The stored minute cannot say whether a file of that minute was saved before
// the backup or after it, so every second of it counts as changed.
TEST(FolderChanged, AFileOfTheStoredMinuteCountsAsChanged) {
    TempDrives drives;
    const store::BackupTime last = store::BackupTime::FromText(S("2026/12/07 10:15"));
    drives.WriteFile(S("C:\\f\\a.txt"), "a", At(10, 14, 59));
    EXPECT_FALSE(FolderChangedSince(D("C:\\f"), last, false));
    drives.WriteFile(S("C:\\f\\b.txt"), "b", At(10, 15, 0));
    EXPECT_TRUE(FolderChangedSince(D("C:\\f"), last, false));
    drives.WriteFile(S("C:\\g\\c.txt"), "c", At(10, 15, 59));
    EXPECT_TRUE(FolderChangedSince(D("C:\\g"), last, false));
}

}  // namespace
