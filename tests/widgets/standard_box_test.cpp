#include "widgets/standard_box.h"

#include "support/temp_drives.h"
#include "support/text.h"
#include "support/window_checks.h"
#include "util/environment.h"
#include "util/message_sink.h"
#include "widgets/preset_answers.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using widgets::BoxIcon;
using widgets::MakeStandardBox;
using widgets::RunStandardBox;
using widgets::ShowStandardBox;
using namespace testing_support;
using namespace std::chrono_literals;

namespace {

using testing_support::D;
using testing_support::S;

class StandardBox : public ::testing::Test {
  protected:
    StandardBox() { util::SetProgramTitle(S("TETORU")); }
    ~StandardBox() override {
        widgets::presets::ClearPresets();
        util::SetProgramTitle(S("キバコ"));
        util::CheckEnvironment(D("C:\\Missing.INI"));
    }
    TempDrives drives;
};

TEST_F(StandardBox, IsTitledWithTheProgramAndBreaksLines) {
    const auto box =
        MakeStandardBox({S("一行目\r二行目\r\n三行目\n四行目"), util::Buttons::OkCancel,
                         util::Answer::Cancel, BoxIcon::Exclamation});
    EXPECT_EQ(box->windowTitle(), S("TETORU"));
    EXPECT_EQ(box->text(), S("一行目\n二行目\n三行目\n四行目"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Cancel));
    EXPECT_NE(box->button(QMessageBox::Ok), nullptr);
}

TEST_F(StandardBox, StaysOnTopUnlessTheEnvironmentSaysOtherwise) {
    util::CheckEnvironment(D("C:\\Kibako.INI"));  // no such file: on top
    EXPECT_TRUE(MakeStandardBox({S("x")})->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    drives.WriteFile(S("C:\\Kibako.INI"), "[Options]\r\nisMsgModal=0\r\n");
    util::CheckEnvironment(D("C:\\Kibako.INI"));
    EXPECT_FALSE(MakeStandardBox({S("x")})->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// Shows the box and presses `key` in it.
util::Answer RunPressing(util::Buttons buttons, util::Answer defaultAnswer, Qt::Key key) {
    HangGuard guard;
    const auto box = MakeStandardBox({S("質問"), buttons, defaultAnswer, BoxIcon::None});
    QTimer::singleShot(0, [key] {
        if (QWidget* shown = QApplication::activeModalWidget()) QTest::keyClick(shown, key);
    });
    return RunStandardBox(*box, buttons);
}

TEST_F(StandardBox, AnswersWithTheDefaultButtonOrWhatChangesNothing) {
    EXPECT_EQ(RunPressing(util::Buttons::YesNo, util::Answer::No, Qt::Key_Return),
              util::Answer::No);
    EXPECT_EQ(RunPressing(util::Buttons::YesNo, util::Answer::Yes, Qt::Key_Return),
              util::Answer::Yes);
    EXPECT_EQ(RunPressing(util::Buttons::OkCancel, util::Answer::Ok, Qt::Key_Escape),
              util::Answer::Cancel);
    EXPECT_EQ(RunPressing(util::Buttons::Ok, util::Answer::Ok, Qt::Key_Escape), util::Answer::Ok);
}

TEST_F(StandardBox, TakesItsOwnTitleWhenGivenOne) {
    EXPECT_EQ(MakeStandardBox(
                  {S("x"), util::Buttons::Ok, util::Answer::Ok, BoxIcon::Information, S("設定")})
                  ->windowTitle(),
              S("設定"));
}

TEST_F(StandardBox, PresetAnswersShowNothingAndAreRecorded) {
    widgets::presets::SetNextAnswer(util::Answer::Yes);
    EXPECT_EQ(ShowStandardBox({S("消しますか"), util::Buttons::YesNo, util::Answer::No}),
              util::Answer::Yes);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const auto answered = widgets::presets::TakeAnsweredMessages();
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].message.text, S("消しますか"));
    EXPECT_EQ(answered[0].message.buttons, util::Buttons::YesNo);
    EXPECT_EQ(answered[0].message.defaultAnswer, util::Answer::No);
    EXPECT_EQ(answered[0].answer, util::Answer::Yes);
}

// Nobody presses a button of an unattended box: it closes itself with the
// answer that changes nothing, whatever the default button says.
TEST_F(StandardBox, AnUnattendedBoxClosesItselfChangingNothing) {
    HangGuard guard;
    EXPECT_EQ(ShowStandardBox({S("上書き"), util::Buttons::YesNo, util::Answer::Yes}, nullptr,
                              {true, 30ms}),
              util::Answer::No);
    EXPECT_EQ(ShowStandardBox({S("続けますか"), util::Buttons::OkCancel, util::Answer::Ok}, nullptr,
                              {true, 30ms}),
              util::Answer::Cancel);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
