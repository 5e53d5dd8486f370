// The pure side of the check of registered folders, on bodies written out by
// hand and a machine described by a set of folders.
#include <gtest/gtest.h>

#include <QSet>

#include "catalog/registration_check.h"
#include "support/text.h"

namespace kibako::catalog {
namespace {

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

TEST(RewriteFolder, MovesSourcesAndDestinationsAtAndBelowTheFolderOnly) {
    QString body = Body(
        {Entry(S("c:\\data"), S("D:\\BACK\\DATA"), S("10000000")),
         Entry(S("C:\\Data\\Work"), S("D:\\BACK\\DATA\\Work")),
         Entry(S("C:\\DATA2"), S("C:\\DATA2.LZH")), Entry(S("C:\\MAIL"), S("C:\\DATA\\MAIL.ZIP")),
         Entry(S("C:\\MEMO"), S("C:\\DATA")), Entry(S("C:\\PHOTO"), S("(E)USB\\C:\\DATA"))});
    RewriteFolder(body, S("C:\\DATA"), S("D:\\MOVED"));
    EXPECT_EQ(body, Body({Entry(S("D:\\MOVED"), S("D:\\BACK\\DATA"), S("10000000")),
                          Entry(S("D:\\MOVED\\Work"), S("D:\\BACK\\DATA\\Work")),
                          Entry(S("C:\\DATA2"), S("C:\\DATA2.LZH")),
                          Entry(S("C:\\MAIL"), S("D:\\MOVED\\MAIL.ZIP")),
                          Entry(S("C:\\MEMO"), S("D:\\MOVED")),
                          Entry(S("C:\\PHOTO"), S("(E)USB\\C:\\DATA"))}));
}

TEST(RewriteFolder, KeepsARegistrationAlreadyAtTheNewPlaceInsteadOfListingItTwice) {
    QString body =
        Body({Entry(S("C:\\DATA"), S("E:\\OLD")), Entry(S("C:\\DATA\\WORK"), S("E:\\WORK")),
              Entry(S("D:\\data"), S("E:\\NEW"))});
    RewriteFolder(body, S("C:\\DATA"), S("D:\\DATA"));
    EXPECT_EQ(body, Body({Entry(S("D:\\DATA\\WORK"), S("E:\\WORK")),
                          Entry(S("D:\\data"), S("E:\\NEW"))}));
}

TEST(ForgetFolder, RemovesEntriesWhoseSourceOrDestinationLiesInTheFolder) {
    QString body = Body(
        {Entry(S("C:\\DATA"), S("D:\\BACK\\DATA")), Entry(S("C:\\data\\work"), S("D:\\BACK\\WORK")),
         Entry(S("C:\\DATA2"), S("D:\\BACK\\DATA2")), Entry(S("C:\\MAIL"), S("c:\\Data\\Mail")),
         Entry(S("C:\\MEMO"), S("C:\\DATAMEMO"))});
    ForgetFolder(body, S("C:\\DATA"));
    EXPECT_EQ(body, Body({Entry(S("C:\\DATA2"), S("D:\\BACK\\DATA2")),
                          Entry(S("C:\\MEMO"), S("C:\\DATAMEMO"))}));
    ForgetFolder(body, S("C:\\NOWHERE"));
    EXPECT_EQ(body.size(), Body({Entry(S("C:\\DATA2"), S("D:\\BACK\\DATA2")),
                                 Entry(S("C:\\MEMO"), S("C:\\DATAMEMO"))})
                               .size());
    ForgetFolder(body, S("C:\\DATA2"));
    ForgetFolder(body, S("C:\\MEMO"));
    EXPECT_EQ(body, QString(QChar(0)));
}

TEST(FindMissingFolders, ChecksUpperCaseSourcesOnHardDisksOnce) {
    const QString body =
        Body({Entry(S("C:\\DATA"), S("D:\\B1")), Entry(S("C:\\DATA\\WORK"), S("D:\\B2")),
              Entry(S("c:\\lower"), S("D:\\B3")), Entry(S("D:\\ARC\\OLD.LZH"), S("D:\\B4")),
              Entry(S("D:\\ARC\\NEW.LZH"), S("D:\\B5")), Entry(S("E:\\MEDIA"), S("D:\\B6")),
              Entry(S("\\\\SERVER\\SHARE"), S("D:\\B7")), Entry(S("C:\\HERE"), S("D:\\B8"))});
    const MissingFolders missing = FindMissingFolders(body, Machine({S("C:\\HERE")}));
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

TEST(HasSourceIn, SeesTheFolderAndItsSubFoldersOnly) {
    const QString body =
        Body({Entry(S("C:\\DATA2"), S("D:\\B")), Entry(S("C:\\Data\\W"), S("D:\\C"))});
    EXPECT_TRUE(HasSourceIn(body, S("C:\\DATA")));
    EXPECT_TRUE(HasSourceIn(body, S("c:\\data\\w")));
    EXPECT_FALSE(HasSourceIn(body, S("C:\\DATA\\W2")));
    EXPECT_FALSE(HasSourceIn(body, S("D:\\B")));
}

TEST(SortedBody, PutsFoldersBeforeTheirSubFoldersAndEndsWithTheTerminator) {
    const QString body =
        Body({Entry(S("D:\\DATA\\WORK"), S("X:\\1")), Entry(S("C:\\DATA2"), S("X:\\2")),
              Entry(S("d:\\data"), S("X:\\3")), Entry(S("D:\\DATA-OLD"), S("X:\\4")),
              Entry(S("C:\\DATA2"), S("X:\\5"))});
    EXPECT_EQ(SortedBody(body),
              Body({Entry(S("C:\\DATA2"), S("X:\\2")), Entry(S("C:\\DATA2"), S("X:\\5")),
                    Entry(S("d:\\data"), S("X:\\3")), Entry(S("D:\\DATA\\WORK"), S("X:\\1")),
                    Entry(S("D:\\DATA-OLD"), S("X:\\4"))}));
    EXPECT_EQ(SortedBody(QString()), QString(QChar(0)));
}

TEST(NewDefinitionName, ProposesMonthAndDayAndEndsInDef) {
    EXPECT_EQ(DefaultDefinitionName(QDate(2026, 3, 7)), S("Kibako0307"));
    EXPECT_EQ(DefaultDefinitionName(QDate(2026, 12, 24)), S("Kibako1224"));
    EXPECT_EQ(NewDefinitionPath(S("Kibako1207"), S("C:\\KIBAKO")), S("C:\\KIBAKO\\Kibako1207.Def"));
    EXPECT_EQ(NewDefinitionPath(S("moved.txt"), S("C:\\KIBAKO\\")), S("C:\\KIBAKO\\moved.Def"));
    EXPECT_EQ(NewDefinitionPath(S("D:\\SAVE\\list"), S("C:\\KIBAKO")), S("D:\\SAVE\\list.Def"));
    EXPECT_EQ(NewDefinitionPath(S("D:list"), S("C:\\KIBAKO")), S("D:list.Def"));
}

}  // namespace
}  // namespace kibako::catalog
