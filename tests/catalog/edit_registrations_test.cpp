// 設定を修正, 設定を削除 and 登録済みフォルダーの確認 on a real catalog window: after
// each command the definition body, the rows on screen and the rows a fresh
// build of the view would show must agree.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "catalog/commands/registration_editor.h"
#include "catalog/forms/entry_form.h"
#include "catalog/rows/drive_reader.h"
#include "catalog/rows/registration_views.h"
#include "catalog/rows/row_record.h"
#include "catalog/window/list_form.h"
#include "dialogs/message_box.h"
#include "model_rows.h"
#include "program_folder_fixture.h"
#include "store/definition_file.h"
#include "support/text.h"
#include "util/path_names.h"
#include "widgets/beep.h"
#include "widgets/preset_answers.h"

namespace catalog {
namespace {

using testing::Body;
using testing::EntryText;
using testing::ProgramFolder;
using testing::Rows;
using testing_support::S;

const QString kNever(16, u' ');

class EditRegistrationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* path : {"/Data/Photos/2024", "/Data/Mail", "/Docs"})
            QDir().mkpath(folder.Drive(u'C') + QString::fromUtf8(path));
    }
    void TearDown() override {
        widgets::presets::ClearPresets();
        widgets::SetBeepForTesting({});
    }

    void Load(const QString& body) {
        folder.WriteFile(S("Kibako.Def"), store::DefinitionFileBytes(body));
        ASSERT_TRUE(form.Load({}));
        widgets::SetBeepForTesting([this] { ++beeps; });
    }
    EntryForm& Dialog() { return form.Registration().Dialog(); }
    void SelectRow(const QString& path) {
        const auto row = form.FindRow(path);
        ASSERT_TRUE(row && row->shownRow >= 0) << path.toStdString();
        form.CurrentRows().grid.currentRow = row->shownRow;
    }
    void ChooseDrive(QChar letter) {
        form.DriveBox()->setCurrentIndex(form.DriveBox()->findData(letter));
    }
    // 設定を修正 from the menu; `steps` run once the dialog waits.
    void EditFromMenu(std::function<void()> steps) {
        QTimer::singleShot(0, &Dialog(), std::move(steps));
        form.Menus().editChange->trigger();
    }
    void DeleteFromMenu() { form.Menus().editDelete->trigger(); }

    // The settings view shows what a build from the body shows.
    void ExpectSettingsViewFollowsBody() {
        FolderModel fresh(false);
        store::DefinitionList copy = form.Definitions();
        BuildSettingsView(fresh, copy, form.DefinitionPath());
        EXPECT_EQ(Rows(form.RegistrationRows()), Rows(fresh));
    }
    // Every drive row shows what a fresh scan of the drive shows.
    void ExpectDriveRowsFollowBody(QChar letter) {
        DriveReader reader(form.Definitions().Entries());
        const FullList fresh = reader.ScanDrive(letter);
        const FullList& rows = form.DriveRows().list;
        for (int r = 0; r < fresh.Count(); ++r) {
            const int row = rows.RowOfKey(fresh.Cell(r, kKeyColumn).toString());
            ASSERT_GE(row, 0) << fresh.Cell(r, kKeyColumn).toString().toStdString();
            for (int column = 0; column < 4; ++column) {
                EXPECT_EQ(rows.Cell(row, column), fresh.Cell(r, column))
                    << fresh.Cell(r, kKeyColumn).toString().toStdString() << " column " << column;
            }
        }
    }

    struct Application {
        Application() { testing::EnsureApplication(); }
    } application;
    ProgramFolder folder;
    ListForm form;
    int beeps = 0;
};

TEST_F(EditRegistrationsTest, EditTurnsAFolderRegistrationIntoAnArchiveWithItsSubFolders) {
    Load(Body({EntryText(S("C:\\Data"), S("D:\\Back\\Data"), kNever, S("10000000")),
               EntryText(S("C:\\Data\\Mail"), S("D:\\Back\\Data\\Mail"), kNever, S("10000000")),
               EntryText(S("C:\\Data\\Photos"), S("D:\\Back\\Data\\Photos"), kNever, S("10000000")),
               EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000"))}));
    ASSERT_EQ(form.CurrentView(), kSettingsView);
    form.ToggleRow(1, true);
    SelectRow(S("C:\\Data"));
    bool asked = false;
    EditFromMenu([&] {
        asked = true;
        EXPECT_EQ(Dialog().Source(), S("C:\\Data"));
        EXPECT_FALSE(form.isEnabled());
        Dialog().SelectOption(1);
        EXPECT_EQ(Dialog().findChild<QLineEdit*>(S("保存先LIN1"))->text(), S("D:\\Back\\Data.LZH"));
        EXPECT_TRUE(Dialog().findChild<QCheckBox*>(S("下位SEL"))->isChecked());
        Dialog().findChild<QPushButton*>(S("登録BTN"))->click();
    });
    ASSERT_TRUE(asked);
    const QString expected =
        Body({EntryText(S("C:\\Data"), S("D:\\Back\\Data.LZH"), kNever, S("20000000")),
              EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000"))});
    EXPECT_EQ(form.Definitions().Body(), expected);
    EXPECT_TRUE(form.Definitions().Modified());
    ExpectSettingsViewFollowsBody();
    // The rebuilt view keeps the cursor on the edited folder.
    EXPECT_EQ(form.RowPath(form.CurrentRows().grid.currentRow), S("C:\\Data"));
    EXPECT_TRUE(form.isEnabled());
    EXPECT_TRUE(form.StatusLine()->text().isEmpty());
    form.close();
    EXPECT_EQ(folder.ReadFile(S("Kibako.Def")), store::DefinitionFileBytes(expected));
}

TEST_F(EditRegistrationsTest, EditAndDeleteInTheDriveViewFollowTheBody) {
    Load(Body({EntryText(S("C:\\Data\\Mail"), S("D:\\Mail"), kNever, S("00000000"))}));
    ChooseDrive(u'C');
    SelectRow(S("C:\\Data"));
    EditFromMenu([&] {
        Dialog().SelectOption(1);
        Dialog().findChild<QLineEdit*>(S("保存先LIN1"))->setText(S("D:\\Back\\Data.LZH"));
        Dialog().findChild<QCheckBox*>(S("下位SEL"))->setChecked(true);
        Dialog().findChild<QPushButton*>(S("登録BTN"))->click();
    });
    EXPECT_EQ(form.Definitions().Body(),
              Body({EntryText(S("C:\\Data"), S("D:\\Back\\Data.LZH"), kNever, S("20000000"))}));
    ExpectDriveRowsFollowBody(u'C');

    // A covered folder has no registration of its own: a beep, nothing changes.
    form.ToggleRow(form.FindRow(S("C:\\Data"))->shownRow, false);
    SelectRow(S("C:\\Data\\Mail"));
    DeleteFromMenu();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(form.DriveRows().list.Cell(form.FindRow(S("C:\\Data\\Mail"))->fullRow, 1),
              S("D:\\Back\\Data.LZH"));

    SelectRow(S("C:\\Data"));
    DeleteFromMenu();
    EXPECT_TRUE(form.Definitions().IsEmpty());
    EXPECT_TRUE(form.Definitions().Modified());
    ExpectDriveRowsFollowBody(u'C');
    DeleteFromMenu();  // nothing registered any more
    EXPECT_EQ(beeps, 2);
    form.close();
    EXPECT_FALSE(folder.Exists(S("Kibako.Def")));
}

TEST_F(EditRegistrationsTest, DeleteInTheSettingsViewDropsTheRowsAFreshBuildWouldNotShow) {
    Load(Body(
        {EntryText(S("C:\\Data"), S("D:\\Data"), kNever, S("10000000")),
         EntryText(S("C:\\Data\\Mail"), S("D:\\Data\\Mail"), kNever, S("10000000")),
         EntryText(S("C:\\Data\\Photos"), S("D:\\Data\\Photos"), kNever, S("10000000")),
         EntryText(S("C:\\Data\\Photos\\2024"), S("D:\\Data\\Photos\\2024"), kNever, S("10000000")),
         EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000")),
         EntryText(S("C:\\Docs\\Old\\Letters"), S("D:\\Letters"), kNever, S("00000000"))}));
    form.ToggleRow(1, true);
    // The path row C:\Docs\Old has no registration.
    SelectRow(S("C:\\Docs\\Old"));
    DeleteFromMenu();
    EXPECT_EQ(beeps, 1);

    // Mode 1: the sub-folder registrations that follow go with it.
    SelectRow(S("C:\\Data"));
    DeleteFromMenu();
    EXPECT_EQ(
        form.Definitions().Body(),
        Body({EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000")),
              EntryText(S("C:\\Docs\\Old\\Letters"), S("D:\\Letters"), kNever, S("00000000"))}));
    ExpectSettingsViewFollowsBody();
    EXPECT_FALSE(form.FindRow(S("C:\\Data\\Photos\\2024")));

    // A registration with registrations below it stays as their path row.
    SelectRow(S("C:\\Docs"));
    DeleteFromMenu();
    ExpectSettingsViewFollowsBody();
    ASSERT_TRUE(form.FindRow(S("C:\\Docs")));
    EXPECT_EQ(form.RowPath(form.CurrentRows().grid.currentRow), S("C:\\Docs"));

    // The last registration takes every row, the header too.
    SelectRow(S("C:\\Docs\\Old\\Letters"));
    DeleteFromMenu();
    EXPECT_TRUE(form.Definitions().IsEmpty());
    ExpectSettingsViewFollowsBody();
    EXPECT_EQ(form.CurrentRows().grid.rowCount, 0);
    DeleteFromMenu();
    EXPECT_EQ(beeps, 2);
    form.close();
}

TEST_F(EditRegistrationsTest, DeleteInTheDestinationViewOnlyExplains) {
    const QString body = Body({EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000"))});
    Load(body);
    form.SwitchView(kDestinationView);
    form.CurrentRows().grid.currentRow = form.CurrentRows().grid.rowCount - 1;
    widgets::presets::SetNextAnswer(util::Answer::Ok);
    DeleteFromMenu();
    const auto answered = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].message.text, S("保存先表示では、編集作業はできません||") + QChar(1) +
                                            S("ドライブ表示") + QChar(0) + S("か、") + QChar(1) +
                                            S("保存設定表示") + QChar(0) +
                                            S("に切り替えてください"));
    EXPECT_EQ(answered[0].message.buttons, util::Buttons::Ok);
    EXPECT_EQ(form.Definitions().Body(), body);
    EXPECT_FALSE(form.Definitions().Modified());
    form.close();
}

TEST_F(EditRegistrationsTest, AFreshStartShowsWhatTheWindowShowedAfterEditsAndDeletes) {
    Load(Body({EntryText(S("C:\\Data"), S("D:\\Data"), kNever, S("00000000")),
               EntryText(S("C:\\Data\\Mail"), S("D:\\Mail"), kNever, S("00000000")),
               EntryText(S("C:\\Data\\Photos"), S("D:\\Photos"), kNever, S("10000000")),
               EntryText(S("C:\\Data\\Photos\\2024"), S("D:\\Photos\\2024"), kNever, S("10000000")),
               EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000"))}));
    form.ToggleRow(1, true);
    SelectRow(S("C:\\Data\\Photos"));
    DeleteFromMenu();
    SelectRow(S("C:\\Data\\Mail"));
    EditFromMenu([&] {
        Dialog().findChild<QLineEdit*>(S("保存先LIN0"))->setText(S("D:\\Post"));
        Dialog().findChild<QPushButton*>(S("登録BTN"))->click();
    });
    SelectRow(S("C:\\Data"));
    DeleteFromMenu();
    const QStringList shown = Rows(form.RegistrationRows());
    ExpectSettingsViewFollowsBody();
    form.close();

    ListForm again;
    ASSERT_TRUE(again.Load({}));
    ASSERT_EQ(again.CurrentView(), kSettingsView);
    EXPECT_EQ(Rows(again.RegistrationRows()), shown);
    EXPECT_TRUE(again.FindRow(S("C:\\Data\\Mail")));
    EXPECT_EQ(again.RegistrationRows().list.Cell(again.FindRow(S("C:\\Data\\Mail"))->fullRow, 1),
              S("D:\\Post"));
    again.close();
}

// --- the check of registered folders ------------------------------------

class CheckRegistrationsTest : public EditRegistrationsTest {
  protected:
    void Check() { form.Menus().fileCheck->trigger(); }
    QStringList DefinitionFiles() {
        return QDir(folder.Home()).entryList({S("*.Def")}, QDir::Files, QDir::Name);
    }
    QString Bold(const QString& text) { return QChar(8) + text + QChar(7); }
};

TEST_F(CheckRegistrationsTest, AnInputThatNamesNoFolderIsAskedAgainAndAnEmptyOneChangesNothing) {
    const QString body = Body({EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000")),
                               EntryText(S("C:\\Gone"), S("D:\\Gone"), kNever, S("00000000"))});
    Load(body);
    widgets::presets::SetNextAnswer(util::Answer::No);
    widgets::presets::SetNextInput(S("C:\\Nowhere"));
    widgets::presets::SetNextInput(S(""));
    Check();
    const auto messages = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message.text,
              Bold(S("C:\\Gone")) + S(" は、現在 存在しません||登録を抹消していいですか？"));
    EXPECT_EQ(messages[0].message.buttons, util::Buttons::YesNoCancel);
    const auto inputs = widgets::presets::TakeAnsweredInputs();
    ASSERT_EQ(inputs.size(), 2u);
    for (const auto& input : inputs) {
        EXPECT_EQ(input.prompt, S("現在のフォルダー名を入力してください"));
        EXPECT_EQ(input.defaultText, S("C:\\Gone"));
    }
    EXPECT_EQ(form.Definitions().Body(), body);
    EXPECT_FALSE(form.Definitions().Modified());
    EXPECT_EQ(DefinitionFiles(), QStringList({S("Kibako.Def")}));
    EXPECT_TRUE(form.isEnabled());

    // A typed folder that exists rewrites; declining the new name saves the
    // corrected list in the current definition file.
    widgets::presets::SetNextAnswer(util::Answer::No);
    widgets::presets::SetNextInput(S("C:\\Data"));
    widgets::presets::SetNextAnswer(util::Answer::No);
    Check();
    const auto declined = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(declined.size(), 2u);
    EXPECT_EQ(declined[1].message.text,
              S("修正したバックアップ定義データを、名前を変えて保存しますか？"));
    EXPECT_EQ(declined[1].message.buttons, util::Buttons::YesNo);
    const QString corrected =
        Body({EntryText(S("C:\\Data"), S("D:\\Gone"), kNever, S("00000000")),
              EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000"))});
    EXPECT_EQ(form.Definitions().Body(), corrected);
    EXPECT_FALSE(form.Definitions().Modified());
    EXPECT_EQ(DefinitionFiles(), QStringList({S("Kibako.Def")}));
    EXPECT_EQ(store::LoadDefinitions(form.DefinitionPath()).body, corrected);
    form.close();
}

TEST_F(CheckRegistrationsTest, AMovedFolderIsProposedAndCancelChangesNothing) {
    QDir().mkpath(folder.Drive(u'D') + S("/Gone"));
    const QString body =
        Body({EntryText(S("C:\\Gone"), S("C:\\Docs\\Gone"), kNever, S("10000000"))});
    Load(body);
    widgets::presets::SetNextAnswer(util::Answer::No);
    widgets::presets::SetNextAnswer(util::Answer::No);
    widgets::presets::SetNextAnswer(util::Answer::Ok);
    Check();
    auto messages = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].message.text, Bold(S("C:\\Gone")) + S(" は、|") + QChar(8) + QChar(1) +
                                            S("D:\\Gone") + QChar(7) + QChar(0) + S(" へ") +
                                            QChar(5) + S("移動されている") + QChar(0) +
                                            S("と思われます||設定を書き換えますか？"));
    EXPECT_EQ(messages[1].message.text, Bold(S("C:\\Gone")) + S(" の登録を抹消しますか？"));
    EXPECT_EQ(messages[1].message.buttons, util::Buttons::YesNo);
    EXPECT_EQ(messages[1].message.defaultAnswer, util::Answer::No);
    // Nothing was changed, so nothing was found to mend.
    EXPECT_EQ(messages[2].message.text, S("設定されたフォルダーに、矛盾は見つかりませんでした"));

    widgets::presets::SetNextAnswer(util::Answer::Cancel);
    Check();
    EXPECT_EQ(widgets::presets::TakeAnsweredMessages().size(), 1u);
    EXPECT_EQ(form.Definitions().Body(), body);
    EXPECT_FALSE(form.Definitions().Modified());
    EXPECT_EQ(DefinitionFiles(), QStringList({S("Kibako.Def")}));
    form.close();
}

TEST_F(CheckRegistrationsTest, TheCorrectedListIsSavedUnderANewNameAndBecomesTheCatalogs) {
    const QString body = Body({EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000")),
                               EntryText(S("C:\\Gone"), S("D:\\Gone"), kNever, S("00000000"))});
    Load(body);
    folder.WriteFile(S("Kept.Def"), "keep me");
    widgets::presets::SetNextAnswer(util::Answer::Yes);  // forget C:\Gone
    widgets::presets::SetNextAnswer(util::Answer::Yes);  // save under a new name
    widgets::presets::SetNextInput(S(""));               // asked again
    widgets::presets::SetNextInput(S("Kept"));
    widgets::presets::SetNextAnswer(util::Answer::No);   // do not overwrite Kept.Def
    widgets::presets::SetNextAnswer(util::Answer::Yes);  // the first question again
    widgets::presets::SetNextInput(S("Fresh.txt"));
    Check();
    const auto messages = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(messages.size(), 4u);
    const QString kept = util::JoinPath(form.ProgramFolder(), S("Kept.Def")).text();
    EXPECT_EQ(messages[2].message.text,
              Bold(kept) + S(" は、すでに存在します||上書きしていいですか？"));
    const auto inputs = widgets::presets::TakeAnsweredInputs();
    ASSERT_EQ(inputs.size(), 3u);
    EXPECT_EQ(inputs[0].prompt, S("新しい定義ファイルの名前を入力して下さい"));
    EXPECT_EQ(inputs[0].title, S("バックアップ定義の新規保存"));
    EXPECT_EQ(inputs[0].defaultText, S("Kibako") + QDate::currentDate().toString(S("MMdd")));

    const QString fresh = util::JoinPath(form.ProgramFolder(), S("Fresh.Def")).text();
    const QString corrected =
        Body({EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000"))});
    EXPECT_EQ(folder.ReadFile(S("Fresh.Def")), store::DefinitionFileBytes(corrected));
    EXPECT_EQ(folder.ReadFile(S("Kept.Def")), QByteArray("keep me"));
    EXPECT_EQ(folder.ReadFile(S("Kibako.Def")), store::DefinitionFileBytes(body));
    EXPECT_EQ(form.DefinitionPath(), fresh);
    EXPECT_TRUE(
        QString::fromUtf8(folder.ReadFile(S("Kibako.INI"))).contains(S("CatalogName=") + fresh));
    EXPECT_EQ(form.Definitions().Body(), corrected);
    EXPECT_FALSE(form.Definitions().Modified());
    EXPECT_EQ(form.CurrentView(), kSettingsView);
    EXPECT_EQ(form.RegistrationRows().list.Cell(0, 1), fresh);
    ExpectSettingsViewFollowsBody();
    form.close();
    // Nothing was changed after the save, so the close writes nothing.
    EXPECT_EQ(folder.ReadFile(S("Fresh.Def")), store::DefinitionFileBytes(corrected));
}

TEST_F(CheckRegistrationsTest, ANameThatCannotBeSavedIsAskedForAgainAndTheAnswersAreKept) {
    const QString body = Body({EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000")),
                               EntryText(S("C:\\Gone"), S("D:\\Gone"), kNever, S("00000000"))});
    Load(body);
    const auto refuseName = [] {
        widgets::presets::SetNextAnswer(util::Answer::Yes);  // forget C:\Gone
        widgets::presets::SetNextAnswer(util::Answer::Yes);  // save under a new name
        widgets::presets::SetNextInput(S("sub\\new"));      // no folder "sub" in the program folder
        widgets::presets::SetNextAnswer(util::Answer::Ok);  // the reason
    };
    // Cancelling the name asked again leaves everything as it was.
    refuseName();
    widgets::presets::SetNextInput(std::nullopt);
    Check();
    auto messages = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(messages[2].message.text.startsWith(S("定義ファイルを保存できません||")))
        << messages[2].message.text.toStdString();
    EXPECT_TRUE(messages[2].message.text.endsWith(S("||別の名前を入力してください")));
    // Why, in Japanese: the name with a folder part is no path of a drive.
    EXPECT_TRUE(messages[2].message.text.contains(S("パスが見つかりません")));
    EXPECT_EQ(widgets::presets::TakeAnsweredInputs().size(), 2u);
    EXPECT_EQ(form.Definitions().Body(), body);
    EXPECT_EQ(DefinitionFiles(), QStringList({S("Kibako.Def")}));

    // A usable name given the second time saves what was answered before.
    refuseName();
    widgets::presets::SetNextInput(S("Fresh"));
    Check();
    EXPECT_EQ(widgets::presets::TakeAnsweredMessages().size(), 3u);
    const auto inputs = widgets::presets::TakeAnsweredInputs();
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[1].defaultText, S("sub\\new"));  // the refused name, to be mended
    const QString corrected =
        Body({EntryText(S("C:\\Docs"), S("D:\\Docs"), kNever, S("00000000"))});
    EXPECT_EQ(folder.ReadFile(S("Fresh.Def")), store::DefinitionFileBytes(corrected));
    EXPECT_EQ(form.Definitions().Body(), corrected);
    EXPECT_EQ(form.DefinitionPath(), util::JoinPath(form.ProgramFolder(), S("Fresh.Def")).text());
    form.close();
}

}  // namespace
}  // namespace catalog
