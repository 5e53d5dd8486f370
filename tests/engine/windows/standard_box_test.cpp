#include "engine/windows/standard_box.h"
#include "support/temp_drives.h"
#include "support/text.h"
#include "util/environment.h"
#include "util/message_sink.h"
#include "window_checks.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using engine::MessageIcon;
using engine::windows::MakeStandardBox;
using engine::windows::RunStandardBox;
using engine::windows::StandardBoxRequest;
using namespace testing_support;

namespace {

using testing_support::S;

class StandardBox : public ::testing::Test {
  protected:
    StandardBox() { util::SetProgramTitle(S("TETORU")); }
    ~StandardBox() override {
        util::SetProgramTitle(S("キバコ"));
        util::CheckEnvironment(S("C:\\Missing.INI"));
    }
    TempDrives drives;
};

TEST_F(StandardBox, IsTitledWithTheProgramAndBreaksLines) {
    const auto box =
        MakeStandardBox({S("一行目\r二行目\r\n三行目\n四行目"), util::Buttons::OkCancel,
                         util::kAnswerCancel, MessageIcon::Exclamation});
    EXPECT_EQ(box->windowTitle(), S("TETORU"));
    EXPECT_EQ(box->text(), S("一行目\n二行目\n三行目\n四行目"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Cancel));
    EXPECT_NE(box->button(QMessageBox::Ok), nullptr);
}

TEST_F(StandardBox, StaysOnTopUnlessTheEnvironmentSaysOtherwise) {
    util::CheckEnvironment(S("C:\\Kibako.INI"));  // no such file: on top
    EXPECT_TRUE(MakeStandardBox({S("x")})->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    drives.WriteFile(S("C:\\Kibako.INI"), "[Options]\r\nisMsgModal=0\r\n");
    util::CheckEnvironment(S("C:\\Kibako.INI"));
    EXPECT_FALSE(MakeStandardBox({S("x")})->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// Shows the box and presses `key` in it.
int RunPressing(util::Buttons buttons, int defaultAnswer, Qt::Key key) {
    HangGuard guard;
    const auto box = MakeStandardBox({S("質問"), buttons, defaultAnswer, MessageIcon::None});
    QTimer::singleShot(0, [key] {
        if (QWidget* shown = QApplication::activeModalWidget()) QTest::keyClick(shown, key);
    });
    return RunStandardBox(*box, buttons);
}

TEST_F(StandardBox, AnswersWithTheDefaultButtonOrWhatChangesNothing) {
    EXPECT_EQ(RunPressing(util::Buttons::YesNo, util::kAnswerNo, Qt::Key_Return), util::kAnswerNo);
    EXPECT_EQ(RunPressing(util::Buttons::YesNo, util::kAnswerYes, Qt::Key_Return),
              util::kAnswerYes);
    EXPECT_EQ(RunPressing(util::Buttons::OkCancel, util::kAnswerOk, Qt::Key_Escape),
              util::kAnswerCancel);
    EXPECT_EQ(RunPressing(util::Buttons::Ok, util::kAnswerOk, Qt::Key_Escape), util::kAnswerOk);
}

}  // namespace
