// The list's own edits of moved and vanished folders: the entries they touch
// change where their paths lie in the folder, every other byte stays.
#include "store/definition_list.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace store {
namespace {

using testing_support::S;

QString Entry(const QString& source, const QString& destination,
              const QString& flags = S("00000000")) {
    return QChar(8) + source + QChar(2) + destination + QChar(3) + QString(16, u' ') + QChar(4) +
           flags + QChar(5) + QChar(6);
}

QString Body(const QStringList& entries) { return entries.join(QString()) + QChar(0); }

TEST(MoveFolder, MovesSourcesAndDestinationsAtAndBelowTheFolderOnly) {
    DefinitionList list(Body(
        {Entry(S("c:\\data"), S("D:\\BACK\\DATA"), S("10000000")),
         Entry(S("C:\\Data\\Work"), S("D:\\BACK\\DATA\\Work")),
         Entry(S("C:\\DATA2"), S("C:\\DATA2.LZH")), Entry(S("C:\\MAIL"), S("C:\\DATA\\MAIL.ZIP")),
         Entry(S("C:\\MEMO"), S("C:\\DATA")), Entry(S("C:\\PHOTO"), S("(E)USB\\C:\\DATA"))}));
    list.MoveFolder(S("C:\\DATA"), S("D:\\MOVED"));
    EXPECT_EQ(list.Body(), Body({Entry(S("D:\\MOVED"), S("D:\\BACK\\DATA"), S("10000000")),
                                 Entry(S("D:\\MOVED\\Work"), S("D:\\BACK\\DATA\\Work")),
                                 Entry(S("C:\\DATA2"), S("C:\\DATA2.LZH")),
                                 Entry(S("C:\\MAIL"), S("D:\\MOVED\\MAIL.ZIP")),
                                 Entry(S("C:\\MEMO"), S("D:\\MOVED")),
                                 Entry(S("C:\\PHOTO"), S("(E)USB\\C:\\DATA"))}));
    EXPECT_TRUE(list.Modified());
    // The moved entries are found under their new sources.
    ASSERT_TRUE(list.EntryOf(S("D:\\MOVED\\Work")));
    EXPECT_EQ(list.EntryOf(S("D:\\MOVED\\Work"))->destination, S("D:\\BACK\\DATA\\Work"));
    EXPECT_FALSE(list.HasEntry(S("C:\\Data\\Work")));
}

TEST(MoveFolder, KeepsARegistrationAlreadyAtTheNewPlaceInsteadOfListingItTwice) {
    DefinitionList list(
        Body({Entry(S("C:\\DATA"), S("E:\\OLD")), Entry(S("C:\\DATA\\WORK"), S("E:\\WORK")),
              Entry(S("D:\\data"), S("E:\\NEW"))}));
    list.MoveFolder(S("C:\\DATA"), S("D:\\DATA"));
    EXPECT_EQ(list.Body(), Body({Entry(S("D:\\DATA\\WORK"), S("E:\\WORK")),
                                 Entry(S("D:\\data"), S("E:\\NEW"))}));
    // A save into a file changed meanwhile carries the same edit over.
    DefinitionList onDisk(
        Body({Entry(S("C:\\DATA"), S("E:\\OLD")), Entry(S("C:\\DATA\\WORK"), S("E:\\WORK")),
              Entry(S("D:\\data"), S("E:\\NEW"))}));
    list.Changes().ApplyTo(onDisk);
    EXPECT_FALSE(onDisk.HasEntry(S("C:\\DATA")));
    EXPECT_FALSE(onDisk.HasEntry(S("C:\\DATA\\WORK")));
    EXPECT_TRUE(onDisk.HasEntry(S("D:\\DATA\\WORK")));
    EXPECT_EQ(onDisk.EntryOf(S("D:\\data"))->destination, S("E:\\NEW"));
}

TEST(ForgetFolder, RemovesEntriesWhoseSourceOrDestinationLiesInTheFolder) {
    DefinitionList list(Body(
        {Entry(S("C:\\DATA"), S("D:\\BACK\\DATA")), Entry(S("C:\\data\\work"), S("D:\\BACK\\WORK")),
         Entry(S("C:\\DATA2"), S("D:\\BACK\\DATA2")), Entry(S("C:\\MAIL"), S("c:\\Data\\Mail")),
         Entry(S("C:\\MEMO"), S("C:\\DATAMEMO"))}));
    list.ForgetFolder(S("C:\\DATA"));
    const QString left = Body(
        {Entry(S("C:\\DATA2"), S("D:\\BACK\\DATA2")), Entry(S("C:\\MEMO"), S("C:\\DATAMEMO"))});
    EXPECT_EQ(list.Body(), left);
    list.SetModified(false);
    list.ForgetFolder(S("C:\\NOWHERE"));
    EXPECT_EQ(list.Body(), left);
    EXPECT_FALSE(list.Modified());
    list.ForgetFolder(S("C:\\DATA2"));
    list.ForgetFolder(S("C:\\MEMO"));
    EXPECT_EQ(list.Body(), QString(QChar(0)));
    EXPECT_TRUE(list.IsEmpty());
}

TEST(HasSourceIn, SeesTheFolderAndItsSubFoldersOnly) {
    const DefinitionList list(
        Body({Entry(S("C:\\DATA2"), S("D:\\B")), Entry(S("C:\\Data\\W"), S("D:\\C"))}));
    EXPECT_TRUE(list.HasSourceIn(S("C:\\DATA")));
    EXPECT_TRUE(list.HasSourceIn(S("c:\\data\\w")));
    EXPECT_FALSE(list.HasSourceIn(S("C:\\DATA\\W2")));
    EXPECT_FALSE(list.HasSourceIn(S("D:\\B")));
}

TEST(SortBySource, PutsFoldersBeforeTheirSubFoldersAndEndsWithTheTerminator) {
    DefinitionList list(
        Body({Entry(S("D:\\DATA\\WORK"), S("X:\\1")), Entry(S("C:\\DATA2"), S("X:\\2")),
              Entry(S("d:\\data"), S("X:\\3")), Entry(S("D:\\DATA-OLD"), S("X:\\4")),
              Entry(S("C:\\DATA2"), S("X:\\5"))}) +
        S("after the end"));
    list.SortBySource();
    EXPECT_EQ(list.Body(),
              Body({Entry(S("C:\\DATA2"), S("X:\\2")), Entry(S("C:\\DATA2"), S("X:\\5")),
                    Entry(S("d:\\data"), S("X:\\3")), Entry(S("D:\\DATA\\WORK"), S("X:\\1")),
                    Entry(S("D:\\DATA-OLD"), S("X:\\4"))}));
    DefinitionList empty;
    empty.SortBySource();
    EXPECT_EQ(empty.Body(), QString(QChar(0)));
}

}  // namespace
}  // namespace store
