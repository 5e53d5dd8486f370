// Restoring and checking the registration of the listed folder without a
// window: real files on temporary drives, the real engine, the person's
// answers from lists, and the lines the summary window would show.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>

#include <deque>
#include <vector>

#include "catalog/commands/restore_commands.h"
#include "catalog/grid/grid_state.h"
#include "catalog/model/catalog_model.h"
#include "engine/engine.h"
#include "store/definition_list.h"
#include "support/scripted_ui.h"
#include "support/temp_drives.h"
#include "support/text.h"

namespace catalog {
namespace {

using testing_support::S;

constexpr qint64 kTime = 1'700'000'000;

// Where the files go, the replace question and the window's run, answered
// from lists and counted.
class ScriptedDialogs final : public RestoreDialogs, public engine::RestoreQuestions {
  public:
    std::optional<platform::HostPath> ChooseTarget(const platform::DrivePath& folder) override {
        askedFolders.append(folder.text());
        return target;
    }
    engine::RestoreQuestions& ReplaceQuestions() override { return *this; }
    engine::ReplaceAnswer AskReplace(const engine::ReplaceQuestion& question) override {
        asked.push_back(question.target);
        if (answers.empty()) return engine::ReplaceAnswer::No;
        const engine::ReplaceAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool BeginRun() override {
        ++begun;
        return mayBegin;
    }
    bool EndRun() override {
        ++ended;
        return staysOpen;
    }

    // Nothing: cancelled; an empty path: the folder the files came from.
    std::optional<platform::HostPath> target = platform::HostPath();
    std::deque<engine::ReplaceAnswer> answers;
    bool mayBegin = true;
    bool staysOpen = true;
    QStringList askedFolders;
    std::vector<platform::HostPath> asked;
    int begun = 0;
    int ended = 0;
};

// C:\データ is registered with its sub-folders and backed up to D:\控え. In
// the source 一 is newer than its backup, 二 the same, 三 and 四 older;
// 写真\猫 is the same and 写真\犬 gone.
class RestoreCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        drives.Map(u'D', platform::DriveType::Fixed);
        for (const char* name : {"一.txt", "二.txt", "三.txt", "四.txt"}) {
            drives.WriteFile(S("D:\\控え\\") + S(name), QByteArray("backup of ") + name, kTime);
        }
        drives.WriteFile(S("D:\\控え\\写真\\猫.jpg"), "neko", kTime);
        drives.WriteFile(S("D:\\控え\\写真\\犬.jpg"), "inu", kTime);
        drives.WriteFile(S("C:\\データ\\一.txt"), "newer in the source", kTime + 500);
        drives.WriteFile(S("C:\\データ\\二.txt"), "backup of 二.txt", kTime);
        drives.WriteFile(S("C:\\データ\\三.txt"), "older", kTime - 500);
        drives.WriteFile(S("C:\\データ\\四.txt"), "older too", kTime - 500);
        drives.WriteFile(S("C:\\データ\\写真\\猫.jpg"), "neko", kTime);
        drives.MakeFolder(S("C:\\他"));
        store::BackupEntry entry;
        entry.sourceFolder = S("C:\\データ");
        entry.destination = S("D:\\控え");
        entry.subFolders = store::SubFolders::InOneArchive;
        model.Definitions().PutEntry(entry);
    }

    ListedRegistration Shown(const QString& listed) {
        const std::optional<ListedRegistration> shown =
            RegistrationOfListed(model, platform::DrivePath(listed));
        EXPECT_TRUE(shown) << listed.toStdString();
        return shown.value_or(ListedRegistration{});
    }
    std::optional<QStringList> Restore(const QString& listed, const RestoreSelection& selection) {
        return RestoreListed(engine, Shown(listed), platform::DrivePath(listed), selection,
                             dialogs);
    }
    RestoreSelection Files(const QStringList& names) {
        RestoreSelection selection;
        selection.listedFiles = true;
        selection.files = names;
        return selection;
    }
    void WriteHistory() {
        const QString history = S("D:\\控え\\.kibako-history\\");
        drives.WriteFile(history + S("2023-11-20_120000\\一.txt"), "the first 一", kTime - 2000);
        drives.WriteFile(history + S("2023-11-25_120000\\一.txt"), "the second 一", kTime - 1000);
        drives.WriteFile(history + S("2023-11-25_120000\\二.txt"), "an old 二", kTime - 1000);
    }

    testing_support::TempDrives drives;
    testing_support::ScriptedUi ui;
    engine::Engine engine{ui};
    CatalogModel model;
    ScriptedDialogs dialogs;
};

TEST_F(RestoreCommandsTest, TheListedFolderIsFoundInItsRegistrationOrThePersonIsTold) {
    const ListedRegistration photos = Shown(S("C:\\データ\\写真"));
    EXPECT_EQ(photos.entry.sourceFolder, S("C:\\データ"));
    EXPECT_EQ(photos.below, S("写真"));
    EXPECT_EQ(photos.NameOf(S("猫.jpg")), S("写真\\猫.jpg"));
    EXPECT_EQ(Shown(S("C:\\データ")).NameOf(S("一.txt")), S("一.txt"));
    EXPECT_TRUE(ui.messages.isEmpty());

    EXPECT_FALSE(RegistrationOfListed(model, platform::DrivePath(S("C:\\他"))));
    EXPECT_EQ(ui.messages, QStringList{S("このフォルダーは登録されていません\nC:\\他")});
}

TEST_F(RestoreCommandsTest, ChosenFilesComeBackAfterTheQuestionAndTheSummarySaysWhatHappened) {
    dialogs.answers = {engine::ReplaceAnswer::No, engine::ReplaceAnswer::Yes};
    const std::optional<QStringList> report =
        Restore(S("C:\\データ"), Files({S("一.txt"), S("二.txt"), S("三.txt")}));
    ASSERT_TRUE(report);
    EXPECT_EQ(dialogs.askedFolders, QStringList{S("C:\\データ")});
    EXPECT_EQ(dialogs.begun, 1);
    EXPECT_EQ(dialogs.ended, 1);
    // 一 kept on No, 二 the same, 三 replaced on Yes; 四 not chosen.
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0], platform::HostPath(drives.Host(S("C:\\データ\\一.txt"))));
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\一.txt")), "newer in the source");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\三.txt")), "backup of 三.txt");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\四.txt")), "older too");
    EXPECT_EQ(*report, QStringList({S("D:\\控え → C:\\データ"),
                                    S("復元 1 件、同じ 1 件、残した 1 件、失敗 0 件"),
                                    S("残した：　C:\\データ\\一.txt")}));
    EXPECT_TRUE(ui.calls.contains(S("progress shown")));
    EXPECT_TRUE(ui.calls.contains(S("progress hidden")));
}

TEST_F(RestoreCommandsTest, TheFilesOfASubFolderGoBackIntoItAndTheWholeRegistrationElsewhere) {
    // The listed sub-folder with no file chosen: every file below it.
    drives.WriteFile(S("C:\\データ\\写真\\猫.jpg"), "changed", kTime + 10);
    dialogs.answers = {engine::ReplaceAnswer::Yes};
    const std::optional<QStringList> photos = Restore(S("C:\\データ\\写真"), Files({}));
    ASSERT_TRUE(photos);
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\写真\\猫.jpg")), "neko");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\写真\\犬.jpg")), "inu");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\四.txt")), "older too");
    EXPECT_EQ(photos->value(1), S("復元 2 件、同じ 0 件、残した 0 件、失敗 0 件"));

    // The whole registration into another folder: asked about its source
    // folder, whatever the file grid holds.
    dialogs.target = platform::HostPath(drives.Host(S("C:\\他")));
    RestoreSelection whole;
    whole.files = {S("一.txt")};
    const std::optional<QStringList> report = Restore(S("C:\\データ\\写真"), whole);
    ASSERT_TRUE(report);
    EXPECT_EQ(dialogs.askedFolders.last(), S("C:\\データ"));
    EXPECT_EQ(report->value(0), S("D:\\控え → C:\\他"));
    EXPECT_EQ(report->value(1), S("復元 6 件、同じ 0 件、残した 0 件、失敗 0 件"));
    EXPECT_EQ(drives.ReadFile(S("C:\\他\\四.txt")), "backup of 四.txt");
    EXPECT_EQ(drives.ReadFile(S("C:\\他\\写真\\犬.jpg")), "inu");
}

TEST_F(RestoreCommandsTest, NothingIsRestoredOrToldWhenCancelledRefusedOrClosing) {
    dialogs.target = std::nullopt;
    EXPECT_FALSE(Restore(S("C:\\データ"), Files({S("三.txt")})));
    EXPECT_EQ(dialogs.begun, 0);

    dialogs.target = platform::HostPath();
    dialogs.mayBegin = false;  // another run goes on
    EXPECT_FALSE(Restore(S("C:\\データ"), Files({S("三.txt")})));
    EXPECT_EQ(dialogs.ended, 0);
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\三.txt")), "older");

    // The window closes at the run's end: the files are back, nothing is told.
    dialogs.mayBegin = true;
    dialogs.staysOpen = false;
    dialogs.answers = {engine::ReplaceAnswer::Yes};
    EXPECT_FALSE(Restore(S("C:\\データ"), Files({S("三.txt")})));
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\三.txt")), "backup of 三.txt");
}

TEST_F(RestoreCommandsTest, ABackupThatCannotBeReadIsTheSummary) {
    QDir(drives.Host(S("D:\\控え"))).removeRecursively();
    const std::optional<QStringList> report = Restore(S("C:\\データ"), Files({S("一.txt")}));
    ASSERT_TRUE(report);
    ASSERT_EQ(report->size(), 1);
    EXPECT_TRUE(report->front().startsWith(S("バックアップを読めません：　")))
        << report->front().toStdString();
    EXPECT_EQ(dialogs.ended, 1);
}

// 以前の版: the versions of one file, and one of them put back where the file
// is now; then the files as they were at a time.
TEST_F(RestoreCommandsTest, AnOldVersionOfAFileComesBackAndTheFilesAsOfATime) {
    WriteHistory();
    const ListedRegistration shown = Shown(S("C:\\データ"));
    const std::vector<engine::FileVersion> versions =
        VersionsOfListedFile(engine, shown, platform::DrivePath(S("C:\\データ")), S("一.txt"));
    ASSERT_EQ(versions.size(), 3u);
    EXPECT_FALSE(versions[0].inHistory);
    EXPECT_EQ(versions[0].where, platform::HostPath(drives.Host(S("D:\\控え"))));
    EXPECT_EQ(versions[2].item.timeNs, (kTime - 2000) * 1'000'000'000);
    EXPECT_EQ(versions[2].where,
              platform::HostPath(drives.Host(S("D:\\控え\\.kibako-history\\2023-11-20_120000"))));

    RestoreSelection oldest = Files({S("一.txt")});
    oldest.version = versions[2].item;
    dialogs.target = platform::HostPath(drives.Host(S("C:\\他")));
    ASSERT_TRUE(Restore(S("C:\\データ"), oldest));
    EXPECT_EQ(drives.ReadFile(S("C:\\他\\一.txt")), "the first 一");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\一.txt")), "newer in the source");

    // Between the two history runs: 一 as the later run kept it, 二 as well.
    RestoreSelection asOf = Files({S("一.txt"), S("二.txt")});
    asOf.at = QDateTime::fromSecsSinceEpoch(kTime - 500);
    dialogs.target = platform::HostPath();
    dialogs.answers = {engine::ReplaceAnswer::YesToAll};
    const std::optional<QStringList> report = Restore(S("C:\\データ"), asOf);
    ASSERT_TRUE(report);
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\一.txt")), "the second 一");
    EXPECT_EQ(drives.ReadFile(S("C:\\データ\\二.txt")), "an old 二");
    EXPECT_EQ(report->value(1),
              asOf.at->toString(QStringLiteral("yyyy/MM/dd HH:mm")) + S(" の状態"));
}

TEST_F(RestoreCommandsTest, TheVersionsOfAFileOfAMissingBackupAreNone) {
    model.Definitions().PutEntry([] {
        store::BackupEntry entry;
        entry.sourceFolder = S("C:\\他");
        entry.destination = S("D:\\無い");
        return entry;
    }());
    EXPECT_TRUE(VersionsOfListedFile(engine, Shown(S("C:\\他")), platform::DrivePath(S("C:\\他")),
                                     S("一.txt"))
                    .empty());
}

TEST_F(RestoreCommandsTest, TheCheckNamesEachDifferenceOrSaysAllMatch) {
    const QStringList report = VerifyReportLines(engine, Shown(S("C:\\データ")).entry);
    ASSERT_GE(report.size(), 2);
    EXPECT_EQ(report[0], S("C:\\データ → D:\\控え"));
    // 写真\犬 is only in the backup, which this registration does not delete.
    EXPECT_EQ(report[1], S("違い 3 件、一致 2 件"));
    EXPECT_EQ(report.size(), 5);
    EXPECT_TRUE(report.contains(S("バックアップが古い：　一.txt")));
    EXPECT_TRUE(report.contains(S("サイズか日時が違う：　三.txt")));
    EXPECT_TRUE(report.contains(S("サイズか日時が違う：　四.txt")));

    store::BackupEntry same;
    same.sourceFolder = S("C:\\データ\\写真");
    same.destination = S("D:\\控え\\写真");
    drives.WriteFile(S("C:\\データ\\写真\\犬.jpg"), "inu", kTime);
    EXPECT_EQ(VerifyReportLines(engine, same),
              QStringList({S("C:\\データ\\写真 → D:\\控え\\写真"),
                           S("2 個のファイルがすべて一致しました")}));
}

TEST(DifferenceLineTest, EachKindIsWordedWithItsNameAndDetail) {
    using engine::DifferenceKind;
    EXPECT_EQ(DifferenceLine({DifferenceKind::MissingInBackup, S("a\\b.txt"), {}}),
              S("バックアップにない：　a\\b.txt"));
    EXPECT_EQ(DifferenceLine({DifferenceKind::Content, S("c.txt"), {}}), S("内容が違う：　c.txt"));
    EXPECT_EQ(DifferenceLine({DifferenceKind::MethodNotChecked, S("PM2.TXT"), S("-pm2-")}),
              S("この圧縮方式は検査できません：　PM2.TXT　(-pm2-)"));
    EXPECT_EQ(DifferenceLine({DifferenceKind::ArchiveTest, {}, S("the backup cannot be found")}),
              S("読めない　(the backup cannot be found)"));
}

TEST(ChosenFilesTest, TheCurrentFileAndTheMarkedOnesInTheirOrder) {
    grid::GridState files;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        grid::AppendRow(files, {S(name), S("1"), S("23/11/14")});
    grid::IndexRows(files);
    ASSERT_EQ(files.rowCount, 4);
    files.currentRow = 2;
    files.rowMark[0] = -1;
    files.rowMark[2] = -1;  // marked and current: named once
    EXPECT_EQ(ChosenFiles(files), QStringList({S("a.txt"), S("c.txt")}));
    files.rowMark.assign(files.rowMark.size(), 0);
    files.currentRow = -1;
    EXPECT_TRUE(ChosenFiles(files).isEmpty());
}

}  // namespace
}  // namespace catalog
