#include "engine/windows/overwrite_form.h"
#include "support/text.h"
#include "support/window_checks.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

using engine::windows::OverwriteForm;
using namespace testing_support;

namespace {

using testing_support::S;

engine::OlderFile AnOlderFile() {
    engine::OlderFile file;
    file.fileName = S("日記.txt");
    file.sourceFolder = S("C:\\文書");
    file.sourceTimeNs =
        QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)).toMSecsSinceEpoch() * 1'000'000;
    file.backupFolder = S("D:\\控え\\文書");
    file.backupTimeNs =
        QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)).toMSecsSinceEpoch() * 1'000'000;
    return file;
}

// Asks, doing `answer` once the window is up.
util::Answer AskAndDo(OverwriteForm& form, const std::function<void()>& answer) {
    HangGuard guard;
    QTimer::singleShot(0, &form, answer);
    return form.Ask();
}

QPoint TopLeftIn(const QWidget& window, const char* name) {
    const QWidget* child = Child<QWidget>(window, name);
    return child ? child->mapTo(&window, QPoint(0, 0)) : QPoint();
}

TEST(OverwriteForm, ReadsAsOneSentence) {
    OverwriteForm form;
    form.SetOlderFile(AnOlderFile());
    form.show();
    EXPECT_EQ(form.windowTitle(), S("キバコ"));
    EXPECT_EQ(Child<QLabel>(form, "Label1")->text(), S("ハードディスクの"));
    EXPECT_EQ(Child<QLabel>(form, "NAMDSP")->text(), S("日記.txt"));
    EXPECT_EQ(Child<QLabel>(form, "Label3")->text(), S("は、"));
    EXPECT_EQ(Child<QLabel>(form, "Label4")->text(),
              S("バックアップされたファイルより古いファイルです。"));
    EXPECT_EQ(Child<QLabel>(form, "Label5")->text(),
              S("このファイルを バックアップしていいですか？"));
    EXPECT_EQ(Child<QPushButton>(form, "YESBTN")->text(), S("はい (&Y)"));
    EXPECT_EQ(Child<QPushButton>(form, "NOBTN")->text(), S("いいえ (&N)"));
    for (const char* name : {"Image1", "Image2", "Shape1", "Shape2", "Shape3", "Shape4"}) {
        EXPECT_NE(Child<QWidget>(form, name), nullptr);
    }
    EXPECT_EQ(TextsWithMissingGlyphs(form, CaptionsOf(form)), QStringList());

    // Label1, NAMDSP and Label3 on one line, then Label4, then Label5.
    const QPoint onTheHardDisk = TopLeftIn(form, "Label1");
    const QPoint name = TopLeftIn(form, "NAMDSP");
    const QPoint afterName = TopLeftIn(form, "Label3");
    EXPECT_LT(onTheHardDisk.x(), name.x());
    EXPECT_LT(name.x(), afterName.x());
    EXPECT_EQ(onTheHardDisk.y(), afterName.y());
    EXPECT_LT(afterName.y(), TopLeftIn(form, "Label4").y());
    EXPECT_LT(TopLeftIn(form, "Label4").y(), TopLeftIn(form, "Label5").y());
    EXPECT_LT(TopLeftIn(form, "SRCDIR").y(), TopLeftIn(form, "DSTDIR").y());
}

TEST(OverwriteForm, ShowsFoldersAndTimesInTheSystemsFormat) {
    OverwriteForm form;
    form.SetOlderFile(AnOlderFile());
    EXPECT_EQ(Child<QLabel>(form, "SRCDIR")->text(), S("C:\\文書"));
    EXPECT_EQ(Child<QLabel>(form, "DSTDIR")->text(), S("D:\\控え\\文書"));
    const QLocale locale = QLocale::system();
    EXPECT_EQ(Child<QLabel>(form, "SRCDAT")->text(),
              locale.toString(QDate(2024, 5, 6), QLocale::ShortFormat) + u' ' +
                  locale.toString(QTime(7, 8, 9), QLocale::LongFormat));
    EXPECT_TRUE(Child<QLabel>(form, "DSTDAT")->text().contains(S("03:04:05")));
}

TEST(OverwriteForm, ButtonsAnswerAndEscapeOrTheCloseBoxKeepTheBackup) {
    OverwriteForm form;
    EXPECT_EQ(form.EndCode(), std::nullopt);
    auto click = [&form](const char* name) {
        return [&form, name] { QTest::mouseClick(Child<QPushButton>(form, name), Qt::LeftButton); };
    };
    auto closeBox = [&form] { form.windowHandle()->close(); };
    auto escape = [&form] { QTest::keyClick(&form, Qt::Key_Escape); };

    // Put away unread, before any answer and after a Yes alike: No.
    EXPECT_EQ(AskAndDo(form, closeBox), util::Answer::No);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(AskAndDo(form, click("YESBTN")), util::Answer::Yes);
    EXPECT_EQ(AskAndDo(form, escape), util::Answer::No);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(AskAndDo(form, click("YESBTN")), util::Answer::Yes);
    EXPECT_EQ(AskAndDo(form, closeBox), util::Answer::No);
    EXPECT_EQ(AskAndDo(form, click("NOBTN")), util::Answer::No);
    EXPECT_EQ(form.EndCode(), util::Answer::No);
}

TEST(OverwriteForm, UnattendedQuestionClosesItselfWithNo) {
    using namespace std::chrono_literals;
    OverwriteForm form(40ms);
    QElapsedTimer clock;
    clock.start();
    {
        HangGuard guard;
        EXPECT_EQ(form.Ask(true), util::Answer::No);
    }
    EXPECT_GE(clock.elapsed(), 40);
    EXPECT_FALSE(form.isVisible());

    // With someone at the machine the question waits for an answer.
    bool stillOpen = false;
    EXPECT_EQ(AskAndDo(form,
                       [&form, &stillOpen] {
                           QTest::qWait(200);
                           stillOpen = form.isVisible();
                           QTest::mouseClick(Child<QPushButton>(form, "YESBTN"), Qt::LeftButton);
                       }),
              util::Answer::Yes);
    EXPECT_TRUE(stillOpen);
}

TEST(OverwriteForm, KeysAnswerToo) {
    OverwriteForm form;
    EXPECT_EQ(AskAndDo(form,
                       [&form] {
                           // Mnemonics answer in the active window only.
                           form.activateWindow();
                           EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
                           QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
                       }),
              util::Answer::No);
    // Yes is the default button.
    EXPECT_EQ(AskAndDo(form, [&form] { QTest::keyClick(&form, Qt::Key_Return); }),
              util::Answer::Yes);
}

}  // namespace
