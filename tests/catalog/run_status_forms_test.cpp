// The schedule dialog and the run log window of the Tetoru options menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include "catalog/forms/run_log_form.h"
#include "catalog/forms/schedule_form.h"
#include "program_folder_fixture.h"
#include "support/text.h"

namespace catalog {
namespace {

using testing_support::S;

platform::HostPath H(const char* text) { return platform::HostPath(S(text)); }

class Schedule : public ::testing::Test {
  protected:
    void SetUp() override { testing::EnsureApplication(); }
    platform::UserTimer Timer() {
        return platform::UserTimer(platform::HostPath(units.path()), [this](
                                                                         const QString&,
                                                                         const QStringList& args) {
            calls.append(args.join(u' '));
            if (args.value(1) == S("show-environment")) return manager;
            if (args.value(1) == S("show"))
                return platform::CommandOutcome{true, 0, S("Wed 2026-12-16 04:15:00 JST\n"), {}};
            return platform::CommandOutcome{true, 0, {}, {}};
        });
    }
    QTemporaryDir units;
    QStringList calls;
    platform::CommandOutcome manager{true, 0, {}, {}};
};

TEST_F(Schedule, AWeeklyTimeChosenIsInstalledAndItsNextRunShown) {
    ScheduleForm form(Timer(), H("/usr/bin/tetoru"), H("/home/h/.local/share/kibako"));
    auto* state = form.findChild<QLabel*>(S("状態DSP"));
    EXPECT_EQ(state->text(), S("スケジュールは設定されていません。"));
    EXPECT_FALSE(form.Chosen());
    form.findChild<QRadioButton*>(S("実行OPT2"))->click();
    form.findChild<QComboBox*>(S("曜日LST"))->setCurrentIndex(2);  // 水曜日
    form.findChild<QTimeEdit*>(S("時刻LIN"))->setTime(QTime(4, 15));
    form.findChild<QPushButton*>(S("OKBTN"))->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(calls.contains(S("--user enable tetoru.timer"))) << calls.join(u'|').toStdString();
    QFile timer(units.filePath(S("tetoru.timer")));
    ASSERT_TRUE(timer.open(QIODevice::ReadOnly));
    EXPECT_TRUE(timer.readAll().contains("OnCalendar=Wed *-*-* 04:15:00"));

    // Opened again, it shows what is installed and when it runs next.
    ScheduleForm again(Timer(), H("/usr/bin/tetoru"), H("/home/h"));
    EXPECT_TRUE(again.findChild<QRadioButton*>(S("実行OPT2"))->isChecked());
    EXPECT_EQ(again.findChild<QComboBox*>(S("曜日LST"))->currentIndex(), 2);
    EXPECT_EQ(again.findChild<QLabel*>(S("状態DSP"))->text(),
              S("次回の実行：　Wed 2026-12-16 04:15:00 JST"));
    // Choosing "not by itself" removes the timer.
    again.findChild<QRadioButton*>(S("実行OPT0"))->click();
    again.findChild<QPushButton*>(S("OKBTN"))->click();
    EXPECT_TRUE(QDir(units.path()).isEmpty());
}

TEST_F(Schedule, WithoutAServiceManagerItShowsTheFilesToInstallByHand) {
    manager = platform::CommandOutcome{true, 1, {}, S("Failed to connect to bus: No medium found")};
    ScheduleForm form(Timer(), H("/usr/bin/tetoru"), H("/home/h"));
    form.show();
    EXPECT_TRUE(form.findChild<QLabel*>(S("状態DSP"))->text().contains(S("No medium found")));
    auto* files = form.findChild<QPlainTextEdit*>(S("ユニットLST"));
    ASSERT_TRUE(files->isVisible());
    form.findChild<QRadioButton*>(S("実行OPT1"))->click();
    form.findChild<QTimeEdit*>(S("時刻LIN"))->setTime(QTime(1, 30));
    EXPECT_TRUE(files->toPlainText().contains(S("OnCalendar=*-*-* 01:30:00")));
    EXPECT_TRUE(files->toPlainText().contains(S("ExecStart=\"/usr/bin/tetoru\"")));
    form.findChild<QPushButton*>(S("OKBTN"))->click();
    EXPECT_EQ(calls, QStringList({S("--user show-environment")}))
        << "nothing is installed: the person does it by hand";
    EXPECT_TRUE(QDir(units.path()).isEmpty());
}

TEST(RunLogWindow, ShowsEachRunInJapaneseAndCopiesItAll) {
    testing::EnsureApplication();
    engine::RunLogRecord failed;
    failed.time = QDateTime(QDate(2026, 12, 9), QTime(2, 0, 5));
    failed.program = S("TETORU");
    failed.outcome = engine::EntryOutcome::Failed;
    failed.source = S("C:\\music");
    failed.destination = S("D:\\m.ZIP");
    failed.counts.failed = 2;
    failed.reason = S("書庫を更新できません\nD:\\m.ZIP");
    engine::RunLogRecord summary = failed;
    summary.kind = engine::RunLogRecord::Kind::RunSummary;
    summary.backedUp = 3;
    summary.failed = 1;
    EXPECT_EQ(RunLogLineText(failed),
              S("2026/12/09 02:00:05 TETORU 失敗 C:\\music → D:\\m.ZIP（新規 0、置換 0、削除 0、"
                "失敗 2）\n        書庫を更新できません\n        D:\\m.ZIP"));
    EXPECT_EQ(RunLogLineText(summary), S("2026/12/09 02:00:05 TETORU ── 実行終了：成功 3、失敗 1"));
    engine::RunLogRecord history = summary;
    history.kind = engine::RunLogRecord::Kind::HistoryRemoved;
    history.historyLine = S("history removed (older than 7 days): /d/m 2026-12-01.ZIP");
    EXPECT_EQ(RunLogLineText(history),
              S("2026/12/09 02:00:05 TETORU   履歴：history removed (older than 7 days): "
                "/d/m 2026-12-01.ZIP"));

    RunLogForm form({failed, summary});
    form.findChild<QPushButton*>(S("COPYBTN"))->click();
    EXPECT_EQ(QApplication::clipboard()->text(), form.Text());
    EXPECT_TRUE(form.Text().endsWith(S("実行終了：成功 3、失敗 1")));
    EXPECT_EQ(RunLogForm({}).Text(), S("まだ記録はありません。"));
}

}  // namespace
}  // namespace catalog
