#include "engine/windows/media_form.h"
#include "support/temp_drives.h"
#include "support/text.h"
#include "support/window_checks.h"
#include "widgets/beep.h"
#include "widgets/dialog_placement.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using engine::windows::MediaForm;
using platform::DriveType;
using namespace testing_support;
using namespace std::chrono_literals;

namespace {

using testing_support::S;

QStringList Entries(const MediaForm& form) {
    QStringList entries;
    const auto* box = Child<QComboBox>(form, "DRVBOX");
    for (int i = 0; box && i < box->count(); ++i) entries.append(box->itemText(i));
    return entries;
}

QString Selected(const MediaForm& form) { return Child<QComboBox>(form, "DRVBOX")->currentText(); }

// C: fixed, E: removable, R: CD-ROM, as TempDrives makes them.
class MediaFormTest : public ::testing::Test {
  protected:
    void Disp(MediaForm& form, const QString& defaultDrive, bool unattended,
              const std::function<void()>& then) {
        HangGuard guard;
        if (then) QTimer::singleShot(0, &form, then);
        form.Disp(nullptr, defaultDrive, unattended);
    }
    std::function<void()> Click(MediaForm& form, const char* name) {
        return [&form, name] { QTest::mouseClick(Child<QPushButton>(form, name), Qt::LeftButton); };
    }
    TempDrives drives;
};

TEST_F(MediaFormTest, CarriesItsCaptions) {
    MediaForm form;
    form.SetTitle(S("写真"));
    form.SetKind(S("ZIP、MO"));
    EXPECT_EQ(form.windowTitle(), S("ドライブの選択"));
    EXPECT_EQ(Child<QLabel>(form, "LBLDSP")->text(), S("写真"));
    EXPECT_EQ(Child<QLabel>(form, "MSGDSP")->text(), S("ZIP、MO"));
    EXPECT_EQ(Child<QLabel>(form, "Label3")->text(),
              S("を ドライブにセットして、そのドライブ名をクリックして下さい。"));
    EXPECT_EQ(Child<QLabel>(form, "Label9")->text(), S("このラベルと同じ"));
    EXPECT_EQ(Child<QPushButton>(form, "OKBTN")->text(), S("OK"));
    EXPECT_EQ(Child<QPushButton>(form, "CANBTN")->text(), S("ｷｬﾝｾﾙ"));
    for (const char* name : {"Timer1", "Shape1", "Shape2", "Shape3", "Line1", "Image1"}) {
        EXPECT_NE(form.findChild<QObject*>(S(name)), nullptr) << name;
    }
    EXPECT_EQ(TextsWithMissingGlyphs(form, CaptionsOf(form)), QStringList());
}

TEST_F(MediaFormTest, ListsTheDriveTable) {
    drives.Map(u'F', DriveType::Removable);
    MediaForm form;
    EXPECT_EQ(Entries(form),
              QStringList({S("C: [SYSTEM]"), S("E: [USB]"), S("F:"), S("R: [DISC]")}));
}

TEST_F(MediaFormTest, PreselectsTheLastReadyRemovableDrive) {
    drives.Map(u'F', DriveType::Removable, S("F1"));
    drives.Map(u'G', DriveType::Removable, S("G1"));
    QDir(drives.Root() + S("/g")).removeRecursively();  // no medium in G:
    EXPECT_EQ(Selected(MediaForm()), S("F: [F1]"));

    // The first entry is never taken.
    platform::DriveTable table;
    table.Map(u'A', DriveType::Removable, platform::HostPath(drives.Root() + S("/e")));
    table.Map(u'C', DriveType::Fixed, platform::HostPath(drives.Root() + S("/c")));
    platform::SetCurrentDrives(table);
    EXPECT_EQ(Selected(MediaForm()), S("C:"));
    table.Map(u'B', DriveType::Removable, platform::HostPath(drives.Root() + S("/f")));
    platform::SetCurrentDrives(table);
    EXPECT_EQ(Selected(MediaForm()), S("B:"));
}

TEST_F(MediaFormTest, OkAnswersTheDefaultDriveAndCancelNothing) {
    MediaForm form;
    Disp(form, S("r:\\"), false, Click(form, "OKBTN"));
    EXPECT_EQ(form.SelectedDrive(), S("R:"));
    EXPECT_FALSE(form.TimedOut());
    EXPECT_FALSE(form.isVisible());

    Disp(form, S("E:\\"), false, Click(form, "CANBTN"));
    EXPECT_EQ(form.SelectedDrive(), QString());

    // The close box counts as cancel.
    Disp(form, S("E:\\"), false, [&form] { form.windowHandle()->close(); });
    EXPECT_EQ(form.SelectedDrive(), QString());
}

TEST_F(MediaFormTest, ThePersonsChoiceWins) {
    drives.Map(u'F', DriveType::Removable, S("F1"));
    MediaForm form;
    Disp(form, S("E:\\"), false, [&form] {
        auto* box = Child<QComboBox>(form, "DRVBOX");
        box->setCurrentIndex(box->findText(S("F: [F1]")));
        QTest::keyClick(&form, Qt::Key_Return);
    });
    EXPECT_EQ(form.SelectedDrive(), S("F:"));
}

TEST_F(MediaFormTest, DisablesItsOwnerAndBeeps) {
    QWidget owner;
    owner.setGeometry(100, 200, 600, 400);
    owner.show();
    MediaForm form;
    int beeps = 0;
    widgets::SetBeepForTesting([&beeps] { ++beeps; });
    HangGuard guard;
    bool ownerEnabledMeanwhile = true;
    QPoint placed;
    QTimer::singleShot(0, &form, [&] {
        ownerEnabledMeanwhile = owner.isEnabled();
        placed = form.frameGeometry().topLeft();
        form.windowHandle()->close();
    });
    form.Disp(&owner, S("E:\\"), false);
    widgets::SetBeepForTesting({});
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(placed, widgets::CentredOver(owner.frameGeometry(), form.frameGeometry().size()));
}

TEST_F(MediaFormTest, ClosesItselfWhenUnattended) {
    MediaForm form(50ms);
    QElapsedTimer clock;
    clock.start();
    Disp(form, S("E:\\"), true, {});
    EXPECT_TRUE(form.TimedOut());
    EXPECT_EQ(form.SelectedDrive(), QString());
    EXPECT_GE(clock.elapsed(), 40);

    // The timer runs only when unattended, and is stopped by an answer.
    bool timerActive = true;
    Disp(form, S("E:\\"), false, [&] {
        timerActive = Child<QTimer>(form, "Timer1")->isActive();
        form.findChild<QPushButton*>(S("OKBTN"))->click();
    });
    EXPECT_FALSE(timerActive);
    EXPECT_FALSE(form.TimedOut());
    EXPECT_EQ(form.SelectedDrive(), S("E:"));
}

}  // namespace
