#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "catalog/forms/entry_form.h"
#include "engine/engine.h"
#include "platform/drive_table.h"
#include "program_folder_fixture.h"
#include "support/scripted_ui.h"
#include "support/temp_drives.h"
#include "widgets/beep.h"
#include "widgets/preset_answers.h"

namespace catalog {
namespace {

class EntryFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        widgets::SetBeepForTesting([this] { ++beeps; });
    }
    void TearDown() override {
        widgets::SetBeepForTesting({});
        widgets::presets::ClearPresets();
    }
    QLineEdit* Field(int i) {
        return form.findChild<QLineEdit*>(QStringLiteral("保存先LIN%1").arg(i));
    }
    QPushButton* Button(const char* name) {
        return form.findChild<QPushButton*>(QString::fromUtf8(name));
    }
    void ExpectFields(const QString& f0, const QString& f1, const QString& f2) {
        EXPECT_EQ(form.DestinationText(0), f0);
        EXPECT_EQ(form.DestinationText(1), f1);
        EXPECT_EQ(form.DestinationText(2), f2);
    }
    // Opens the dialog and runs `steps` once it waits.
    EntryForm::Outcome Open(RegistrationValues& values, std::function<void()> steps) {
        QTimer::singleShot(0, &form, std::move(steps));
        return form.Inp(nullptr, values);
    }

    struct Application {
        Application() { testing::EnsureApplication(); }
    } application;
    testing_support::TempDrives drives;
    EntryForm form;
    int beeps = 0;
};

TEST_F(EntryFormTest, ControlsCarryTheirCaptionsAndTips) {
    EXPECT_EQ(form.windowTitle(), u"バックアップ登録");
    EXPECT_EQ(Button("保存BTN")->text(), u"今すぐ保存");
    EXPECT_EQ(Button("参照BTN")->toolTip(),
              u"保存先のフォルダー名を選択します　（ファイル名を入力する必要はありません）");
    EXPECT_EQ(Field(1)->toolTip(), u"保存先の圧縮ファイル名（LZH）　を指定します");
    EXPECT_EQ(form.findChild<QCheckBox*>(QStringLiteral("ロックSEL"))->toolTip(),
              u"現在のバージョンでは使用できません");
}

TEST_F(EntryFormTest, NewRegistrationProposesTheLastFolderWithTheSelectedKind) {
    form.SetLastDestinationFolder(QStringLiteral("D:\\BK"));
    form.SelectOption(1);
    form.Fill({QStringLiteral("C:\\DATA\\WORK"), QString(), false, false, false});
    ExpectFields(QStringLiteral("D:\\BK\\WORK"), QStringLiteral("D:\\BK\\WORK.LZH"),
                 QStringLiteral("D:\\BK\\WORK.ZIP"));
    EXPECT_EQ(form.SelectedOption(), 1);
    EXPECT_TRUE(Field(1)->isEnabled());
    EXPECT_FALSE(Field(0)->isEnabled());
}

TEST_F(EntryFormTest, ExistingDestinationsFillAllThreeFields) {
    auto* deleteBox = form.findChild<QCheckBox*>(QStringLiteral("削除SEL"));
    form.Fill(
        {QStringLiteral("C:\\DATA\\WORK"), QStringLiteral("D:\\BK\\WORK.ZIP"), true, false, true});
    ExpectFields(QStringLiteral("D:\\BK\\WORK"), QStringLiteral("D:\\BK\\WORK.LZH"),
                 QStringLiteral("D:\\BK\\WORK.ZIP"));
    EXPECT_EQ(form.SelectedOption(), 2);
    EXPECT_FALSE(deleteBox->isEnabled());
    EXPECT_TRUE(form.SubFoldersChecked());
    // A folder destination: the archive names come from the source's name.
    form.Fill(
        {QStringLiteral("C:\\DATA\\WORK"), QStringLiteral("D:\\BK\\Other"), false, false, false});
    ExpectFields(QStringLiteral("D:\\BK\\Other"), QStringLiteral("D:\\BK\\WORK.LZH"),
                 QStringLiteral("D:\\BK\\WORK.ZIP"));
    EXPECT_EQ(form.SelectedOption(), 0);
    EXPECT_TRUE(deleteBox->isEnabled());
    // Nothing given and nothing remembered: the fields stay as they were.
    form.Fill({QStringLiteral("C:\\X"), QString(), false, false, false});
    EXPECT_EQ(form.DestinationText(0), u"D:\\BK\\Other");
}

TEST_F(EntryFormTest, BrowsingNamesTheDestinationsAfterTheSource) {
    drives.MakeFolder(QStringLiteral("C:\\BK\\WORK"));
    const QString placeholder = QStringLiteral("/保存先フォルダー名、または圧縮ファイル名");
    form.Fill({QStringLiteral("C:\\DATA\\WORK"), QString(), false, false, false});
    ASSERT_TRUE(
        form.TakeBrowsedHostPath(drives.Host(QStringLiteral("C:\\BK\\WORK")) + placeholder));
    ExpectFields(QStringLiteral("C:\\BK\\WORK"), QStringLiteral("C:\\BK\\WORK\\WORK.LZH"),
                 QStringLiteral("C:\\BK\\WORK\\WORK.ZIP"));
    EXPECT_EQ(form.BrowseFolder(), u"C:\\BK\\WORK");
    // An archive chosen by name selects its kind.
    form.SelectOption(1);
    ASSERT_TRUE(form.TakeBrowsedHostPath(drives.Host(QStringLiteral("C:\\BK")) + "/X.ZIP"));
    ExpectFields(QStringLiteral("C:\\BK\\X"), QStringLiteral("C:\\BK\\X.LZH"),
                 QStringLiteral("C:\\BK\\X.ZIP"));
    EXPECT_EQ(form.SelectedOption(), 2);
    // A drive root as the source.
    form.Fill({QStringLiteral("C:\\"), QString(), false, false, false});
    form.TakeBrowsedPath(QStringLiteral("D:\\BK\\") + placeholder.mid(1));
    EXPECT_EQ(form.DestinationText(1), u"D:\\BK\\Cドライブ.LZH");
}

TEST_F(EntryFormTest, BrowsingOutsideEveryDriveChangesNothing) {
    form.Fill({QStringLiteral("C:\\DATA"), QStringLiteral("C:\\BK\\DATA"), false, false, false});
    bool boxSeen = false;
    QTimer::singleShot(0, &form, [&boxSeen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        boxSeen = box != nullptr;
        if (box != nullptr) box->accept();
    });
    EXPECT_FALSE(form.TakeBrowsedHostPath(QStringLiteral("/nowhere-near-a-drive/x")));
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(form.DestinationText(0), u"C:\\BK\\DATA");
    // The browse button hands the start folder and the drives over.
    QString start;
    QList<SidebarPlace> places;
    form.chooseHostPath = [&](const QString& folder, const QList<SidebarPlace>& sidebar) {
        start = folder;
        places = sidebar;
        return std::optional<QString>();
    };
    drives.MakeFolder(QStringLiteral("C:\\BK"));
    Button("参照BTN")->click();
    EXPECT_EQ(start, drives.Host(QStringLiteral("C:\\BK")));
    ASSERT_EQ(places.size(), 3);
    EXPECT_EQ(places[0].url, QUrl::fromLocalFile(drives.Host(QStringLiteral("C:\\"))));
    EXPECT_EQ(places[0].label, u"SYSTEM (C:)");
    EXPECT_EQ(places[1].label, u"USB (E:)");
    EXPECT_EQ(places[2].label, u"DISC (R:)");
    EXPECT_EQ(form.DestinationText(0), u"C:\\BK\\DATA");
}

// Qt's own file dialog, as the user meets it: its sidebar lists every drive
// of the table by letter and label, not by the names of their host folders.
TEST_F(EntryFormTest, TheBrowseDialogsSidebarNamesTheDrives) {
    drives.Map(u'F', platform::DriveType::Removable);
    drives.Map(u'G', platform::DriveType::Fixed);
    form.Fill({QStringLiteral("C:\\DATA"), QStringLiteral("C:\\BK\\DATA"), false, false, false});
    QStringList shown;
    bool dialogSeen = false;
    QTimer::singleShot(0, &form, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        dialogSeen = dialog != nullptr;
        if (dialog == nullptr) return;
        auto* sidebar = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
        // Let the dialog read its folders, which renames the places in Qt's way.
        QTest::qWait(200);
        for (int row = 0; sidebar != nullptr && row < sidebar->model()->rowCount(); ++row)
            shown << sidebar->model()->index(row, 0).data().toString();
        dialog->reject();
    });
    Button("参照BTN")->click();
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(shown,
              QStringList({QStringLiteral("SYSTEM (C:)"), QStringLiteral("USB (E:)"),
                           QStringLiteral("リムーバブル ディスク (F:)"),
                           QStringLiteral("ローカル ディスク (G:)"), QStringLiteral("DISC (R:)")}));
    EXPECT_EQ(form.DestinationText(0), u"C:\\BK\\DATA");
}

// A removable medium with neither a title file nor a label of the user's (no
// label, or the factory "ZIP-100") is asked for a title when browsed to; the
// title is written to the medium and names the destination. A title the
// reading rule would cut is refused and asked for again.
TEST_F(EntryFormTest, BrowsingToAnUntitledRemovableDriveAsksForItsTitle) {
    testing_support::ScriptedUi ui;
    engine::Engine engine(ui);
    form.SetEngine(&engine);
    drives.Map(u'F', platform::DriveType::Removable);
    drives.Map(u'Z', platform::DriveType::Removable, QStringLiteral("ZIP-100"));
    drives.MakeFolder(QStringLiteral("F:\\BK"));
    form.Fill({QStringLiteral("C:\\DATA"), QString(), false, false, false});
    ui.textAnswers = {QStringLiteral("a,b"), QStringLiteral("PHOTOS")};
    ASSERT_TRUE(form.TakeBrowsedHostPath(drives.Host(QStringLiteral("F:\\BK")) + "/x"));
    EXPECT_EQ(ui.messages.size(), 1);  // the comma refused
    EXPECT_TRUE(ui.textAnswers.empty());
    EXPECT_EQ(form.DestinationText(0), u"(F)PHOTOS\\BK\\DATA");
    EXPECT_EQ(form.DestinationText(1), u"(F)PHOTOS\\BK\\DATA.LZH");
    EXPECT_EQ(drives.ReadFile(QStringLiteral("F:\\VolName.DAT")), "PHOTOS\r\n");
    // Asked once: the next browse reads the title the medium now carries.
    ASSERT_TRUE(form.TakeBrowsedHostPath(drives.Host(QStringLiteral("F:\\BK")) + "/x"));
    EXPECT_EQ(form.DestinationText(0), u"(F)PHOTOS\\BK\\DATA");
    // The factory label of a ZIP disk is no title either.
    ui.textAnswers = {QStringLiteral("ZIPDISK")};
    ASSERT_TRUE(form.TakeBrowsedHostPath(drives.Host(QStringLiteral("Z:\\")) + "/x"));
    EXPECT_EQ(form.DestinationText(0), u"(Z)ZIPDISK\\DATA");
    // A drive with a label of the user's is not asked about.
    ASSERT_TRUE(form.TakeBrowsedHostPath(drives.Host(QStringLiteral("E:\\")) + "/x"));
    EXPECT_EQ(form.DestinationText(0), u"(E)USB\\DATA");
    EXPECT_TRUE(ui.textAnswers.empty());
    form.SetEngine(nullptr);
}

TEST_F(EntryFormTest, RegisterNeedsADestinationAndGivesOne) {
    RegistrationValues values{QStringLiteral("C:\\DATA\\WORK"), QString(), false, false, false};
    const EntryForm::Outcome answer = Open(values, [this] {
        form.SelectOption(0);
        Field(0)->clear();
        Button("登録BTN")->click();
        Field(0)->setText(QStringLiteral("   "));
        Button("登録BTN")->click();
        EXPECT_TRUE(form.isVisible());
        Field(0)->setText(QStringLiteral("D:\\Back\\WORK"));
        QTest::keyClick(Field(0), Qt::Key_Return);
        EXPECT_TRUE(Button("登録BTN")->hasFocus() || !QApplication::focusWidget());
        EXPECT_TRUE(form.isVisible());
        form.findChild<QCheckBox*>(QStringLiteral("下位SEL"))->setChecked(true);
        Button("登録BTN")->click();
    });
    EXPECT_EQ(answer, EntryForm::Outcome::Registered);
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(values.destination, u"D:\\Back\\WORK");
    EXPECT_TRUE(values.subFolders);
    EXPECT_EQ(form.LastDestinationFolder(), u"D:\\Back");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(EntryFormTest, CancelAndClosingRegisterNothing) {
    RegistrationValues values{QStringLiteral("C:\\DATA"), QStringLiteral("D:\\Old"), false, false,
                              false};
    EXPECT_EQ(Open(values, [this] { Button("CANBTN")->click(); }), EntryForm::Outcome::Cancelled);
    EXPECT_EQ(values.destination, u"D:\\Old");
    EXPECT_EQ(Open(values, [this] { form.close(); }), EntryForm::Outcome::Cancelled);
    EXPECT_EQ(Open(values, [this] { QTest::keyClick(&form, Qt::Key_Escape); }),
              EntryForm::Outcome::Cancelled);
    EXPECT_EQ(values.destination, u"D:\\Old");
    EXPECT_TRUE(form.LastDestinationFolder().isEmpty());
}

TEST_F(EntryFormTest, DestinationInsideTheSourceIsRefused) {
    drives.MakeFolder(QStringLiteral("C:\\DATA"));
    RegistrationValues values{QStringLiteral("C:\\DATA"), QStringLiteral("C:\\DATA\\BK"), true,
                              false, false};
    const EntryForm::Outcome answer = Open(values, [this] {
        widgets::presets::SetNextAnswer(util::Answer::Ok);
        Button("登録BTN")->click();
        EXPECT_EQ(widgets::presets::TakeAnsweredMessages().size(), 1u);
        EXPECT_TRUE(form.isVisible());
        Button("CANBTN")->click();
    });
    EXPECT_EQ(answer, EntryForm::Outcome::Cancelled);
}

}  // namespace
}  // namespace catalog
