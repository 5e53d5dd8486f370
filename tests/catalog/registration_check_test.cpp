// The pure side of the check of registered folders, on lists written out by
// hand and a machine described by a set of folders.
#include <gtest/gtest.h>

#include <QSet>

#include "catalog/model/registration_check.h"
#include "support/text.h"

namespace catalog {
namespace {

using testing_support::D;
using testing_support::S;

QString Entry(const QString& source, const QString& destination,
              const QString& flags = S("00000000")) {
    return QChar(8) + source + QChar(2) + destination + QChar(3) + QString(16, u' ') + QChar(4) +
           flags + QChar(5) + QChar(6);
}

QString Body(const QStringList& entries) { return entries.join(QString()) + QChar(0); }

// C: and D: are hard disks, E: is not; the folders that exist are listed.
FolderProbe Machine(const QStringList& folders) {
    const QSet<QString> existing(folders.begin(), folders.end());
    return {[](QChar letter) { return letter == u'C' || letter == u'D'; },
            [existing](const QString& folder) { return existing.contains(folder.toUpper()); }};
}

TEST(FindMissingFolders, ChecksUpperCaseSourcesOnHardDisksOnce) {
    const store::DefinitionList list(
        Body({Entry(S("C:\\DATA"), S("D:\\B1")), Entry(S("C:\\DATA\\WORK"), S("D:\\B2")),
              Entry(S("c:\\lower"), S("D:\\B3")), Entry(S("D:\\ARC\\OLD.LZH"), S("D:\\B4")),
              Entry(S("D:\\ARC\\NEW.LZH"), S("D:\\B5")), Entry(S("E:\\MEDIA"), S("D:\\B6")),
              Entry(S("\\\\SERVER\\SHARE"), S("D:\\B7")), Entry(S("C:\\HERE"), S("D:\\B8"))}));
    const MissingFolders missing = FindMissingFolders(list, Machine({S("C:\\HERE")}));
    EXPECT_EQ(missing[2], QStringList({S("C:\\DATA"), S("C:\\DATA\\WORK")}));
    // An archive-like name is checked as its folder, which is listed once.
    EXPECT_EQ(missing[3], QStringList({S("D:\\ARC")}));
    for (int i : {0, 1, 4}) EXPECT_TRUE(missing[static_cast<size_t>(i)].isEmpty()) << i;
}

TEST(MovedFolderCandidate, TakesTheFirstOtherHardDiskHoldingThePath) {
    const FolderProbe machine = Machine({S("D:\\DATA"), S("E:\\DOCS"), S("C:\\ONLY")});
    EXPECT_EQ(MovedFolderCandidate(S("C:\\DATA"), machine), S("D:\\DATA"));
    EXPECT_FALSE(MovedFolderCandidate(S("C:\\DOCS"), machine));  // E: is no hard disk
    EXPECT_FALSE(MovedFolderCandidate(S("D:\\ONLY"), Machine({S("D:\\ONLY")})));
    EXPECT_EQ(MovedFolderCandidate(S("D:\\ONLY"), machine), S("C:\\ONLY"));
}

TEST(NewDefinitionName, ProposesMonthAndDayAndEndsInDef) {
    EXPECT_EQ(DefaultDefinitionName(QDate(2026, 3, 7)), S("Kibako0307"));
    EXPECT_EQ(DefaultDefinitionName(QDate(2026, 12, 24)), S("Kibako1224"));
    EXPECT_EQ(NewDefinitionPath(S("Kibako1207"), D("C:\\KIBAKO")), S("C:\\KIBAKO\\Kibako1207.Def"));
    EXPECT_EQ(NewDefinitionPath(S("moved.txt"), D("C:\\KIBAKO\\")), S("C:\\KIBAKO\\moved.Def"));
    EXPECT_EQ(NewDefinitionPath(S("D:\\SAVE\\list"), D("C:\\KIBAKO")), S("D:\\SAVE\\list.Def"));
    EXPECT_EQ(NewDefinitionPath(S("D:list"), D("C:\\KIBAKO")), S("D:list.Def"));
}

}  // namespace
}  // namespace catalog
