#include "engine/archive_update.h"
#include "engine/backup_run.h"
#include "engine_fixture.h"
#include "store/definition_list.h"
#include "util/file_ops.h"

#include <QDateTime>

using namespace testing_support;
using engine::UpdateArchive;

namespace {

class ArchiveUpdate : public EngineTest {
  protected:
    void SetUp() override {
        drives.WriteFile(S("C:\\My Data\\a.txt"), "alpha", 1'700'000'000);
        drives.WriteFile(S("C:\\My Data\\sub\\b.txt"), "beta", 1'700'000'000);
    }
};

TEST_F(ArchiveUpdate, CommandLinesAreExact) {
    EXPECT_EQ(engine::LzhUpdateCommand(S("D:\\B.LZH"), S("C:\\My Data"), true),
              S("u -r2x1a2 \"D:\\B.LZH\" \"C:\\My Data\\\""));
    EXPECT_EQ(engine::LzhUpdateCommand(S("D:\\B.LZH"), S("C:\\My Data"), false),
              S("u \"D:\\B.LZH\" \"C:\\My Data\\\""));
    EXPECT_EQ(engine::LzhDeleteCommand(S("D:\\B.LZH"), S("C:\\X")),
              S("d -jn \"D:\\B.LZH\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(S("D:\\B.ZIP"), S("C:\\X"), false, false),
              S("- \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(S("D:\\B.ZIP"), S("C:\\X"), true, false),
              S("-r \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(S("D:\\B.ZIP"), S("C:\\X"), false, true),
              S("-u \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
    EXPECT_EQ(engine::ZipUpdateCommand(S("D:\\B.ZIP"), S("C:\\X"), true, true),
              S("-ur \"D:\\B.ZIP\" \"C:\\X\\\" *.*"));
}

TEST_F(ArchiveUpdate, ZipSwitchFollowsTheArchiveAndLzhDeletesOnlyAfterSuccess) {
    ASSERT_TRUE(UpdateArchive(engine, S("C:\\My Data"), S("C:\\out\\B.ZIP"), true, true));
    ASSERT_TRUE(UpdateArchive(engine, S("C:\\My Data"), S("C:\\out\\B.ZIP"), true, true));
    ASSERT_TRUE(UpdateArchive(engine, S("C:\\My Data"), S("C:\\out\\B.LZH"), false, true));
    archiverCode = 1;
    EXPECT_FALSE(UpdateArchive(engine, S("C:\\My Data"), S("C:\\out\\B.LZH"), false, true));
    EXPECT_EQ(commandLines, (std::vector<std::string>{
                                "zip -r \"C:\\out\\B.ZIP\" \"C:\\My Data\\\" *.*",
                                "zip -ur \"C:\\out\\B.ZIP\" \"C:\\My Data\\\" *.*",
                                "unlha u \"C:\\out\\B.LZH\" \"C:\\My Data\\\"",
                                "unlha d -jn \"C:\\out\\B.LZH\" \"C:\\My Data\\\" *.*",
                                "unlha u \"C:\\out\\B.LZH\" \"C:\\My Data\\\"",
                            }));
    EXPECT_EQ(ui.calls.filter(S("beep")).size(), 1);
    EXPECT_FALSE(engine.AbortRequested());
}

TEST_F(ArchiveUpdate, AnArchiverThatCannotBeCalledStopsTheRun) {
    archiverCode = std::optional<int>();
    EXPECT_FALSE(UpdateArchive(engine, S("C:\\My Data"), S("C:\\out\\B.LZH"), true, false));
    EXPECT_TRUE(engine.AbortRequested());
    EXPECT_EQ(ui.messages, QStringList({S("ファイル書込みができません")}));
}

TEST_F(ArchiveUpdate, ArchiveEntriesTakeTheArchiveTimeAndCountOnce) {
    store::DefinitionList list;
    store::BackupEntry entry;
    entry.sourceFolder = S("C:\\My Data");
    entry.destination = S("C:\\out\\B.ZIP");
    entry.lastBackup = QString(16, u' ');
    entry.subFolderMode = 2;
    list.PutEntry(entry);
    EXPECT_EQ(engine::RunBackupAll(engine, list), 1);
    EXPECT_EQ(engine.FileCounter(), 1);
    const qint64 archiveNs = *util::ModifiedTimeOf(S("C:\\out\\B.ZIP"));
    EXPECT_EQ(
        list.Entries()[0].lastBackup,
        QDateTime::fromMSecsSinceEpoch(archiveNs / 1'000'000).toString(S("yyyy/MM/dd HH:mm")));

    archiverCode = 3;
    EXPECT_EQ(engine::RunBackupAll(engine, list), 0);
    EXPECT_EQ(engine.FileCounter(), 0);
    EXPECT_EQ(engine.FailedEntries(), 1);
}

}  // namespace
