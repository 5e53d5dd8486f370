#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "catalog/commands/registration_editor.h"
#include "catalog/forms/entry_form.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/window/list_form.h"
#include "program_folder_fixture.h"
#include "store/definition_file.h"
#include "widgets/beep.h"
#include "widgets/preset_answers.h"

namespace catalog {
namespace {

using testing::ProgramFolder;

class RegistrationEditorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir().mkpath(folder.Drive(u'C') + QStringLiteral("/Data/Photos/2024"));
        QDir().mkpath(folder.Drive(u'C') + QStringLiteral("/Data/Mail"));
        QFile file(folder.Drive(u'C') + QStringLiteral("/Data/Photos/a.jpg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("picture");
    }
    void TearDown() override { widgets::presets::ClearPresets(); }

    void ChooseDrive(QChar letter) {
        form.DriveBox()->setCurrentIndex(form.DriveBox()->findData(letter));
    }
    EntryForm& Dialog() { return form.Registration().Dialog(); }
    QLineEdit* Field(int i) {
        return Dialog().findChild<QLineEdit*>(QStringLiteral("保存先LIN%1").arg(i));
    }
    QPushButton* Button(const char* name) {
        return Dialog().findChild<QPushButton*>(QString::fromUtf8(name));
    }
    QCheckBox* Box(const char* name) {
        return Dialog().findChild<QCheckBox*>(QString::fromUtf8(name));
    }
    // Opens the dialog on the current row and runs `steps` once it waits.
    void Edit(std::function<void()> steps) {
        QTimer::singleShot(0, &Dialog(), std::move(steps));
        form.EditRegistration();
    }
    void SelectRow(const QString& path) {
        const auto row = form.FindRow(path);
        ASSERT_TRUE(row && row->shownRow >= 0) << path.toStdString();
        form.CurrentRows().grid.currentRow = row->shownRow;
    }
    std::optional<store::BackupEntry> Entry(const QString& source) {
        return form.Definitions().EntryOf(source);
    }
    QString Cell(const QString& path, int column) {
        const auto row = form.FindRow(path);
        return row ? form.CurrentRows().list.Cell(row->fullRow, column).toString() : QString();
    }

    struct Application {
        Application() { testing::EnsureApplication(); }
    } application;
    ProgramFolder folder;
    ListForm form;
};

TEST_F(RegistrationEditorTest, EnterOnADriveRowRegistersTheFolderAndItsSubFolders) {
    ASSERT_TRUE(form.Load({}));
    ChooseDrive(u'C');
    SelectRow(QStringLiteral("C:\\Data"));
    bool asked = false;
    QTimer::singleShot(0, &Dialog(), [&] {
        asked = true;
        EXPECT_EQ(Dialog().Source(), u"C:\\Data");
        EXPECT_FALSE(form.isEnabled());
        Field(0)->setText(QStringLiteral("D:\\Back\\Data"));
        Box("下位SEL")->setChecked(true);
        Button("登録BTN")->click();
    });
    QTest::keyClick(form.FolderGrid(), Qt::Key_Return);
    ASSERT_TRUE(asked);
    EXPECT_TRUE(form.isEnabled());
    const auto entry = Entry(QStringLiteral("C:\\Data"));
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->destination, u"D:\\Back\\Data");
    EXPECT_EQ(entry->subFolders, store::SubFolders::EachAsEntry);
    EXPECT_TRUE(entry->lastBackup.IsNever());
    // Every folder below got an entry with a mirrored destination.
    const auto deep = Entry(QStringLiteral("C:\\Data\\Photos\\2024"));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->destination, u"D:\\Back\\Data\\Photos\\2024");
    EXPECT_TRUE(Entry(QStringLiteral("C:\\Data\\Mail")));
    EXPECT_TRUE(form.Definitions().Modified());
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data"), 1), u"D:\\Back\\Data");
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data\\Mail"), 1), u"D:\\Back\\Data\\Mail");
    EXPECT_EQ(Dialog().LastDestinationFolder(), u"D:\\Back");

    // Gathering into one archive removes the registrations below.
    Edit([&] {
        EXPECT_EQ(Field(0)->text(), u"D:\\Back\\Data");
        EXPECT_TRUE(Box("下位SEL")->isChecked());
        Dialog().SelectOption(1);
        EXPECT_EQ(Field(1)->text(), u"D:\\Back\\Data.LZH");
        Button("登録BTN")->click();
    });
    EXPECT_EQ(Entry(QStringLiteral("C:\\Data"))->subFolders, store::SubFolders::InOneArchive);
    EXPECT_FALSE(Entry(QStringLiteral("C:\\Data\\Mail")));
    EXPECT_FALSE(Entry(QStringLiteral("C:\\Data\\Photos\\2024")));
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data\\Mail"), 1), u"D:\\Back\\Data.LZH");
    form.close();
}

// The dialog's frame starts at the top of the file grid's title bar, its left
// edge at the folder grid's first column boundary, from its first showing on.
TEST_F(RegistrationEditorTest, TheDialogsFrameStartsAtTheFileGridsTitleBar) {
    ASSERT_TRUE(form.Load({}));
    ChooseDrive(u'C');
    SelectRow(QStringLiteral("C:\\Data"));
    const QWidget* fileTitles = form.findChild<QWidget*>(QStringLiteral("ITFBAR"));
    ASSERT_NE(fileTitles, nullptr);
    const QPoint expected(
        form.FolderGrid()->mapToGlobal(QPoint(form.CurrentRows().grid.edges[1], 0)).x(),
        fileTitles->mapToGlobal(QPoint(0, 0)).y());
    for (int time = 0; time < 2; ++time) {
        QPoint frameTop;
        Edit([&] {
            frameTop = Dialog().frameGeometry().topLeft();
            Button("CANBTN")->click();
        });
        EXPECT_EQ(frameTop, expected) << time;
    }
    form.close();
}

// A destination holding a character that frames the definition file's
// entries (pasted text) is refused with a message; nothing is stored or shown.
TEST_F(RegistrationEditorTest, ADestinationTheDefinitionFileCannotHoldIsRefusedAndSaid) {
    ASSERT_TRUE(form.Load({}));
    ChooseDrive(u'C');
    SelectRow(QStringLiteral("C:\\Data"));
    widgets::presets::SetNextAnswer(util::Answer::Ok);
    Edit([&] {
        Field(0)->setText(QStringLiteral("D:\\Back\\Da") + QChar(3) + QStringLiteral("ta"));
        Button("登録BTN")->click();
    });
    const auto said = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_TRUE(said[0].message.text.contains(QStringLiteral("登録できません")));
    // The box reads codes 0 to 8 as emphasis: the path shows "?" instead.
    EXPECT_TRUE(said[0].message.text.contains(QStringLiteral("D:\\Back\\Da?ta")));
    EXPECT_FALSE(Entry(QStringLiteral("C:\\Data")));
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data"), 1), u"");
    EXPECT_TRUE(form.isEnabled());
    form.close();
}

// Keys fold ASCII letters only: gathering C:\ＤＡＴＡ into one archive
// leaves the registrations below C:\ｄａｔａ, another folder, alone.
TEST_F(RegistrationEditorTest, GatheringAFullWidthNameLeavesItsOtherCaseTwinAlone) {
    QDir().mkpath(folder.Drive(u'C') + QStringLiteral("/ＤＡＴＡ/Y"));
    QDir().mkpath(folder.Drive(u'C') + QStringLiteral("/ｄａｔａ/X"));
    folder.WriteFile(QStringLiteral("Kibako.Def"),
                     testing::DefinitionFile(testing::EntryText(
                         QStringLiteral("C:\\ｄａｔａ\\X"), QStringLiteral("D:\\Back\\X"),
                         QString(16, u' '), QStringLiteral("00000000"))));
    ASSERT_TRUE(form.Load({}));
    ChooseDrive(u'C');
    SelectRow(QStringLiteral("C:\\ＤＡＴＡ"));
    Edit([&] {
        Box("下位SEL")->setChecked(true);
        Dialog().SelectOption(1);
        Field(1)->setText(QStringLiteral("D:\\Back\\DATA.LZH"));
        Button("登録BTN")->click();
    });
    ASSERT_TRUE(Entry(QStringLiteral("C:\\ＤＡＴＡ")));
    EXPECT_EQ(Entry(QStringLiteral("C:\\ＤＡＴＡ"))->subFolders, store::SubFolders::InOneArchive);
    EXPECT_TRUE(Entry(QStringLiteral("C:\\ｄａｔａ\\X")));
    form.close();
}

TEST_F(RegistrationEditorTest, CancelStoresNothing) {
    ASSERT_TRUE(form.Load({}));
    ChooseDrive(u'C');
    SelectRow(QStringLiteral("C:\\Data"));
    Edit([&] {
        Field(0)->setText(QStringLiteral("D:\\Back\\Data"));
        Dialog().close();
    });
    EXPECT_FALSE(Entry(QStringLiteral("C:\\Data")));
    EXPECT_FALSE(form.Definitions().Modified());
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data"), 1), u"");
    form.close();
}

TEST_F(RegistrationEditorTest, SaveNowBacksUpAndTheViewsShowTheNewTime) {
    folder.WriteFile(QStringLiteral("Kibako.Def"),
                     testing::DefinitionFile(testing::EntryText(
                         QStringLiteral("C:\\Data\\Photos"), QStringLiteral("D:\\Photos"),
                         QString(16, u' '), QStringLiteral("00000000"))));
    ASSERT_TRUE(form.Load({}));
    ASSERT_EQ(form.CurrentView(), kSettingsView);
    form.ToggleRow(1, true);
    SelectRow(QStringLiteral("C:\\Data\\Photos"));
    QString before;
    Edit([&] {
        EXPECT_EQ(Dialog().Source(), u"C:\\Data\\Photos");
        EXPECT_EQ(Field(0)->text(), u"D:\\Photos");
        widgets::presets::SetNextAnswer(util::Answer::Ok);
        Button("保存BTN")->click();
        const auto answered = widgets::presets::TakeAnsweredMessages();
        ASSERT_EQ(answered.size(), 1u);
        EXPECT_TRUE(answered[0].message.text.contains(
            QStringLiteral("ファイルの保存・更新が完了しました")));
        EXPECT_TRUE(Dialog().isVisible());
        Button("CANBTN")->click();
    });
    EXPECT_TRUE(QFile::exists(folder.Drive(u'D') + QStringLiteral("/Photos/a.jpg")));
    const QString time = Entry(QStringLiteral("C:\\Data\\Photos"))->lastBackup.Text();
    EXPECT_TRUE(time.front().isDigit()) << time.toStdString();
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data\\Photos"), 2), time);
    EXPECT_TRUE(form.Definitions().Modified());
    form.close();
    // The shut-down saved the new time.
    EXPECT_TRUE(folder.ReadFile(QStringLiteral("Kibako.Def")).contains(time.toLatin1()));
}

TEST_F(RegistrationEditorTest, BackupOfAllEntriesShowsTheNewTimesAtOnce) {
    folder.WriteFile(QStringLiteral("Kibako.Def"),
                     testing::DefinitionFile(testing::EntryText(
                         QStringLiteral("C:\\Data\\Photos"), QStringLiteral("D:\\Photos"),
                         QString(16, u' '), QStringLiteral("00000000"))));
    ASSERT_TRUE(form.Load({}));
    form.ToggleRow(1, true);
    widgets::presets::SetNextAnswer(util::Answer::Ok);
    form.BackupAll();
    const QString time = Entry(QStringLiteral("C:\\Data\\Photos"))->lastBackup.Text();
    ASSERT_TRUE(time.front().isDigit());
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data\\Photos"), 2), time);
    ChooseDrive(u'C');
    form.ToggleRow(1, false);
    EXPECT_EQ(Cell(QStringLiteral("C:\\Data\\Photos"), 2), time);
    form.close();
}

TEST_F(RegistrationEditorTest, HeaderRowOfTheSettingsViewOpensNothing) {
    folder.WriteFile(QStringLiteral("Kibako.Def"),
                     testing::DefinitionFile(
                         testing::EntryText(QStringLiteral("C:\\Data"), QStringLiteral("D:\\Data"),
                                            QString(16, u' '), QStringLiteral("00000000"))));
    ASSERT_TRUE(form.Load({}));
    int beeps = 0;
    widgets::SetBeepForTesting([&beeps] { ++beeps; });
    form.CurrentRows().grid.currentRow = 0;
    form.EditRegistration();
    widgets::SetBeepForTesting({});
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(Dialog().isVisible());
    form.close();
}

}  // namespace
}  // namespace catalog
