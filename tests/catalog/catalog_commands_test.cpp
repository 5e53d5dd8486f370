// Registering, deleting and checking registrations on the catalog's model,
// without a window: real folders on temporary drives, the definition file
// written and read back, and what the model's listener hears.
#include <gtest/gtest.h>

#include <QDir>

#include <deque>
#include <vector>

#include "catalog/commands/check_registrations.h"
#include "catalog/commands/delete_registration.h"
#include "catalog/grid/grid_state.h"
#include "catalog/model/apply_registration.h"
#include "catalog/model/catalog_model.h"
#include "catalog/rows/drive_reader.h"
#include "catalog/rows/registration_views.h"
#include "catalog/rows/row_record.h"
#include "engine/engine_ui.h"
#include "engine/run_log.h"
#include "model_rows.h"
#include "store/definition_file.h"
#include "store/settings.h"
#include "support/temp_drives.h"
#include "support/text.h"

namespace catalog {
namespace {

using testing::Body;
using testing::Rows;
using testing_support::S;

const QString kNever(16, u' ');
const platform::DrivePath kProgramFolder(S("C:\\KIBAKO"));
const QString kDefinitionFile = S("C:\\KIBAKO\\Kibako.Def");

QString Entry(const QString& source, const QString& destination,
              const QString& flags = S("00000000")) {
    return QChar(8) + source + QChar(2) + destination + QChar(3) + kNever + QChar(4) + flags +
           QChar(5) + QChar(6);
}

store::BackupEntry NewEntry(const QString& source, const QString& destination,
                            store::SubFolders subFolders = store::SubFolders::None) {
    store::BackupEntry entry;
    entry.sourceFolder = source;
    entry.destination = destination;
    entry.subFolders = subFolders;
    return entry;
}

// What a view of the model hears.
class Heard : public CatalogModel::Listener {
  public:
    bool ShownCellChanged(FolderModel& rows, int shownRow, int column, QStringView text) override {
        ++cells;
        return grid::ReplaceCellText(rows.grid, column, shownRow, text);
    }
    void RowsReplaced() override { ++rowsReplaced; }
    void DefinitionsReplaced() override { ++definitionsReplaced; }
    int cells = 0;
    int rowsReplaced = 0;
    int definitionsReplaced = 0;
};

// The person, answering from a list and remembering what was asked.
class ScriptedQuestions final : public CheckQuestions {
  public:
    util::Answer Ask(const widgets::BoxMessage& message) override {
        asked.push_back({message.text, message.buttons});
        if (answers.empty()) return util::Answer::Ok;
        const util::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> AskText(const QString& prompt, const QString&, const QString&) override {
        asked.push_back({prompt, util::Buttons::OkCancel});
        if (texts.empty()) return std::nullopt;
        const std::optional<QString> text = texts.front();
        texts.pop_front();
        return text;
    }
    void Beep() override {}

    struct Question {
        QString text;
        util::Buttons buttons;
    };
    std::vector<Question> asked;
    std::deque<util::Answer> answers;
    std::deque<std::optional<QString>> texts;
};

class CatalogCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        drives.Map(u'D', platform::DriveType::Fixed);
        for (const char* path :
             {"C:\\Data\\Mail", "C:\\Data\\Photos\\2024", "C:\\Docs", "C:\\KIBAKO"})
            drives.MakeFolder(S(path));
        model.SetListener(&heard);
    }

    // The definition file holds `body` and the model reads it, as the window does.
    void Load(const QString& body) {
        drives.WriteFile(kDefinitionFile, store::DefinitionFileBytes(body));
        model.SetDefinitionPath(kDefinitionFile);
        model.Definitions() = store::DefinitionList(store::LoadDefinitions(kDefinitionFile).body);
    }
    // The definitions saved as the window's close saves them; the file's bytes.
    QByteArray Saved() {
        EXPECT_TRUE(store::SaveDefinitions(model.DefinitionPath(), model.Definitions()));
        return drives.ReadFile(model.DefinitionPath());
    }

    void ShowSettingsView() {
        model.SetView(kSettingsView);
        BuildSettingsView(model.RegistrationRows(), model.Definitions(), model.DefinitionPath());
    }
    // Drive C: with every level shown.
    void ShowDriveView() {
        model.SetView(kDriveView);
        FolderModel& m = model.DriveRows();
        m.list = DriveReader(model.Definitions().Entries()).ScanDrive(u'C');
        m.rowMap.clear();
        for (int r = 0; r < m.list.Count(); ++r) m.rowMap.push_back(r);
        ShowMappedRows(m);
    }
    void SelectRow(const QString& path) {
        const auto row = model.FindRow(path);
        ASSERT_TRUE(row && row->shownRow >= 0) << path.toStdString();
        model.CurrentRows().grid.currentRow = row->shownRow;
    }

    void ExpectSettingsViewFollowsBody() {
        FolderModel fresh(false);
        store::DefinitionList copy = model.Definitions();
        BuildSettingsView(fresh, copy, model.DefinitionPath());
        EXPECT_EQ(Rows(model.RegistrationRows()), Rows(fresh));
    }
    void ExpectDriveRowsFollowBody() {
        const FullList fresh = DriveReader(model.Definitions().Entries()).ScanDrive(u'C');
        const FullList& rows = model.DriveRows().list;
        ASSERT_EQ(rows.Count(), fresh.Count());
        for (int r = 0; r < fresh.Count(); ++r) {
            for (int column = 0; column < 5; ++column) {
                // A time never set shows blank, as blanks or as nothing.
                EXPECT_EQ(rows.Cell(r, column).trimmed(), fresh.Cell(r, column).trimmed())
                    << fresh.Cell(r, kKeyColumn).toString().toStdString() << " column " << column;
            }
        }
        // The shown rows are what the full list holds.
        for (int shown = 0; shown < model.DriveRows().grid.rowCount; ++shown) {
            EXPECT_EQ(grid::CellText(model.DriveRows().grid, 1, shown), rows.Cell(shown, 1));
        }
    }

    testing_support::TempDrives drives;
    CatalogModel model;
    Heard heard;
};

TEST_F(CatalogCommandsTest, ANewRegistrationAsksForARebuildAndAReplacedOneIsPatchedInPlace) {
    Load(Body({Entry(S("C:\\Docs"), S("D:\\Docs"))}));
    ShowSettingsView();

    const RegistrationStored added =
        ApplyRegistration(model, NewEntry(S("C:\\Data\\Mail"), S("D:\\Mail")));
    EXPECT_TRUE(added.rebuildView);  // no row of it yet
    EXPECT_FALSE(added.refusal);
    EXPECT_TRUE(model.DriveRebuildPending());
    EXPECT_EQ(heard.cells, 0);
    ShowSettingsView();
    ExpectSettingsViewFollowsBody();

    store::BackupEntry replaced = NewEntry(S("C:\\Docs"), S("D:\\Papers"));
    replaced.locked = true;
    const RegistrationStored patched = ApplyRegistration(model, replaced);
    EXPECT_FALSE(patched.rebuildView);
    EXPECT_GT(heard.cells, 0);  // the shown row drawn again
    EXPECT_TRUE(model.Definitions().Modified());
    ExpectSettingsViewFollowsBody();

    const QString expected = Body({Entry(S("C:\\Data\\Mail"), S("D:\\Mail")),
                                   Entry(S("C:\\Docs"), S("D:\\Papers"), S("01000000"))});
    EXPECT_EQ(Saved(), store::DefinitionFileBytes(expected));
    EXPECT_EQ(store::LoadDefinitions(kDefinitionFile).body, expected);
}

TEST_F(CatalogCommandsTest, InTheDriveViewSubFolderRegistrationsSpreadAndGatherInPlace) {
    Load(Body({}));
    ShowDriveView();
    const RegistrationStored spread = ApplyRegistration(
        model, NewEntry(S("C:\\Data"), S("D:\\Back\\Data"), store::SubFolders::EachAsEntry));
    EXPECT_FALSE(spread.rebuildView);
    EXPECT_FALSE(model.DriveRebuildPending());
    EXPECT_EQ(model.Definitions().Entries().size(), 4u);
    EXPECT_EQ(model.Definitions().EntryOf(S("C:\\Data\\Photos\\2024"))->destination,
              S("D:\\Back\\Data\\Photos\\2024"));
    ExpectDriveRowsFollowBody();

    // One archive for the tree: the registrations below go, their rows show it.
    ApplyRegistration(
        model, NewEntry(S("C:\\Data"), S("D:\\Back\\Data.LZH"), store::SubFolders::InOneArchive));
    ExpectDriveRowsFollowBody();
    const QString expected = Body({Entry(S("C:\\Data"), S("D:\\Back\\Data.LZH"), S("20000000"))});
    EXPECT_EQ(Saved(), store::DefinitionFileBytes(expected));
}

TEST_F(CatalogCommandsTest, ARegistrationTheFileCannotHoldIsRefusedAndNamed) {
    Load(Body({}));
    ShowDriveView();
    const RegistrationStored refused =
        ApplyRegistration(model, NewEntry(S("C:\\Docs"), S("D:\\Do") + QChar(2) + S("cs")));
    ASSERT_TRUE(refused.refusal);
    EXPECT_TRUE(refused.refusal->startsWith(S("登録できません。")));
    EXPECT_TRUE(model.Definitions().IsEmpty());
    EXPECT_EQ(heard.cells, 0);

    // A folder below whose name the file cannot hold is passed over and named;
    // the others are stored.
    QDir().mkpath(drives.Host(S("C:\\Data\\Ba")) + QChar(3) + S("d"));
    const RegistrationStored spread = ApplyRegistration(
        model, NewEntry(S("C:\\Data"), S("D:\\Data"), store::SubFolders::EachAsEntry));
    ASSERT_TRUE(spread.refusal);
    EXPECT_TRUE(spread.refusal->contains(S("C:\\Data\\Ba?d")));
    EXPECT_TRUE(model.Definitions().HasEntry(S("C:\\Data\\Photos\\2024")));
    EXPECT_EQ(model.Definitions().Entries().size(), 4u);
}

TEST_F(CatalogCommandsTest, DeletingFollowsTheViewAndTheFileKeepsTheRest) {
    const QString docs = Entry(S("C:\\Docs"), S("D:\\Docs"));
    const QString letters = Entry(S("C:\\Docs\\Old\\Letters"), S("D:\\Letters"));
    Load(Body({Entry(S("C:\\Data"), S("D:\\Data"), S("10000000")),
               Entry(S("C:\\Data\\Mail"), S("D:\\Data\\Mail"), S("10000000")), docs, letters}));
    ShowSettingsView();

    SelectRow(S("C:\\Docs\\Old"));  // a path row: no registration of its own
    EXPECT_EQ(DeleteRegistration(model), Deletion::NoRegistration);
    SelectRow(S("C:\\Data"));
    EXPECT_EQ(DeleteRegistration(model), Deletion::Deleted);
    EXPECT_EQ(heard.rowsReplaced, 1);
    EXPECT_TRUE(model.DriveRebuildPending());
    EXPECT_FALSE(model.FindRow(S("C:\\Data\\Mail")));
    ExpectSettingsViewFollowsBody();
    EXPECT_EQ(Saved(), store::DefinitionFileBytes(Body({docs, letters})));

    model.SetView(kDestinationView);
    EXPECT_EQ(DeleteRegistration(model), Deletion::NotInDestinationView);
    EXPECT_EQ(model.Definitions().Entries().size(), 2u);

    // In the drive view the rows of the covered folders show the cover again.
    Load(Body({Entry(S("C:\\Data"), S("D:\\Data.LZH"), S("20000000")),
               Entry(S("C:\\Data\\Mail"), S("D:\\Mail")), docs}));
    ShowDriveView();
    SelectRow(S("C:\\Data\\Mail"));
    EXPECT_EQ(DeleteRegistration(model), Deletion::Deleted);
    ExpectDriveRowsFollowBody();
    EXPECT_EQ(model.DriveRows().list.Cell(model.FindRow(S("C:\\Data\\Mail"))->fullRow, 1),
              S("D:\\Data.LZH"));
    SelectRow(S("C:\\Data"));
    EXPECT_EQ(DeleteRegistration(model), Deletion::Deleted);
    ExpectDriveRowsFollowBody();
    EXPECT_EQ(heard.rowsReplaced, 1);
    EXPECT_EQ(Saved(), store::DefinitionFileBytes(Body({docs})));
}

TEST_F(CatalogCommandsTest, TheModelReadsTheFailedRunsOfTheProgramFoldersLog) {
    Load(Body({Entry(S("C:\\Data\\Mail"), S("D:\\Mail")), Entry(S("C:\\Docs"), S("D:\\Docs"))}));
    {
        engine::RunLog log(*engine::RunLogHostPath(kProgramFolder), S("KIBAKO"));
        log.StartRun();
        engine::EntryReport report;
        report.source = S("C:\\Data\\Mail");
        report.destination = S("D:\\Mail");
        report.reason = S("ディスクがいっぱいです");
        log.Entry(report);
        report.source = S("C:\\Docs");
        report.outcome = engine::EntryOutcome::BackedUp;
        report.reason.clear();
        log.Entry(report);
    }
    model.LoadFailedRuns(kProgramFolder);
    ShowSettingsView();
    QStringList failed;
    for (int shown = 0; shown < model.RegistrationRows().grid.rowCount; ++shown) {
        // The header and the path row of C:\Data stand for no registration.
        if (const auto reason = model.FailedRunOf(shown))
            failed.append(model.RowPath(shown) + u' ' + *reason);
    }
    EXPECT_EQ(failed, QStringList({S("C:\\Data\\Mail ディスクがいっぱいです")}));
}

class CheckTest : public CatalogCommandsTest {
  protected:
    void Check() { CheckRegistrations(model, questions, settings, kProgramFolder); }
    store::Settings settings{S("C:\\KIBAKO\\Kibako.INI")};
    ScriptedQuestions questions;
};

TEST_F(CheckTest, AMissingFolderIsMovedOrForgottenAndTheListSavedInItsFile) {
    drives.MakeFolder(S("D:\\Moved"));
    const QString docs = Entry(S("C:\\Docs"), S("D:\\Docs"));
    Load(Body(
        {docs, Entry(S("C:\\Gone"), S("D:\\Gone")), Entry(S("C:\\Moved"), S("D:\\Back\\Moved"))}));
    ShowSettingsView();
    questions.answers = {util::Answer::Yes,  // forget C:\Gone
                         util::Answer::Yes,  // C:\Moved is now D:\Moved
                         util::Answer::No};  // no new name: the current file
    Check();
    ASSERT_EQ(questions.asked.size(), 3u);
    EXPECT_TRUE(questions.asked[0].text.contains(S("C:\\Gone")));
    EXPECT_TRUE(questions.asked[0].text.contains(S("存在しません")));
    EXPECT_TRUE(questions.asked[1].text.contains(S("D:\\Moved")));
    EXPECT_EQ(questions.asked[1].buttons, util::Buttons::YesNoCancel);
    EXPECT_EQ(questions.asked[2].buttons, util::Buttons::YesNo);

    const QString corrected = Body({docs, Entry(S("D:\\Moved"), S("D:\\Back\\Moved"))});
    EXPECT_EQ(drives.ReadFile(kDefinitionFile), store::DefinitionFileBytes(corrected));
    EXPECT_EQ(model.Definitions().Body(), corrected);
    EXPECT_FALSE(model.Definitions().Modified());
    EXPECT_EQ(heard.definitionsReplaced, 1);
    EXPECT_TRUE(QString::fromUtf8(drives.ReadFile(S("C:\\KIBAKO\\Kibako.INI")))
                    .contains(S("CatalogName=") + kDefinitionFile));
}

TEST_F(CheckTest, ANewNameGetsTheCorrectedListAndCancelOrNothingFoundChangesNothing) {
    const QString body =
        Body({Entry(S("C:\\Docs"), S("D:\\Docs")), Entry(S("C:\\Gone"), S("D:\\Gone"))});
    Load(body);
    questions.answers = {util::Answer::Cancel};
    Check();
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(model.Definitions().Body(), body);
    EXPECT_EQ(heard.definitionsReplaced, 0);

    questions.asked.clear();
    questions.answers = {util::Answer::Yes, util::Answer::Yes};  // forget; a new name
    questions.texts = {S("Fresh")};
    Check();
    ASSERT_EQ(questions.asked.size(), 3u);
    const QString fresh = S("C:\\KIBAKO\\Fresh.Def");
    const QString corrected = Body({Entry(S("C:\\Docs"), S("D:\\Docs"))});
    EXPECT_EQ(drives.ReadFile(fresh), store::DefinitionFileBytes(corrected));
    EXPECT_EQ(drives.ReadFile(kDefinitionFile), store::DefinitionFileBytes(body));
    EXPECT_EQ(model.DefinitionPath(), fresh);
    EXPECT_EQ(heard.definitionsReplaced, 1);

    questions.asked.clear();
    Check();  // every folder is there now
    ASSERT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(questions.asked[0].buttons, util::Buttons::Ok);
    EXPECT_EQ(heard.definitionsReplaced, 1);
}

}  // namespace
}  // namespace catalog
