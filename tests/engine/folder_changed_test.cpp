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
    const QString last = S("2026/12/07 10:15");
    drives.WriteFile(S("C:\\f\\a.txt"), "a", At(10, 15, 59));
    EXPECT_FALSE(FolderChangedSince(S("C:\\f"), last, true));
    drives.WriteFile(S("C:\\f\\tHuMbS.dB"), "t", At(11, 0, 0));
    EXPECT_FALSE(FolderChangedSince(S("C:\\f"), last, true));
    drives.WriteFile(S("C:\\f\\sub\\deep\\b.txt"), "b", At(10, 16, 0));
    EXPECT_FALSE(FolderChangedSince(S("C:\\f"), last, false));
    EXPECT_TRUE(FolderChangedSince(S("C:\\f"), last, true));
}

TEST(FolderChanged, NeverBackedUpCountsAnyFile) {
    TempDrives drives;
    const QString never(16, u' ');
    drives.MakeFolder(S("C:\\empty\\sub"));
    EXPECT_FALSE(FolderChangedSince(S("C:\\empty"), never, true));
    drives.WriteFile(S("C:\\one\\old.txt"), "x", 0);
    EXPECT_TRUE(FolderChangedSince(S("C:\\one"), never, false));
    EXPECT_FALSE(FolderChangedSince(S("C:\\missing"), never, true));
}

}  // namespace
