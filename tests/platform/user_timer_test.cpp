#include "platform/user_timer.h"
#include "platform/host_name.h"
#include "support/text.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using platform::TimerSchedule;
using platform::UserTimer;
using testing_support::S;

platform::HostPath H(const char* text) { return platform::HostPath(S(text)); }

TimerSchedule Weekly(int weekday, int hour, int minute) {
    return TimerSchedule{TimerSchedule::Every::Week, weekday, QTime(hour, minute)};
}

TEST(TimerCalendar, SchedulesReadBackFromTheirSpecAndOtherSpecsAreNotOurs) {
    const TimerSchedule daily{TimerSchedule::Every::Day, 1, QTime(2, 30)};
    EXPECT_EQ(platform::CalendarOf(daily), S("*-*-* 02:30:00"));
    EXPECT_EQ(platform::CalendarOf(Weekly(7, 23, 5)), S("Sun *-*-* 23:05:00"));
    for (const TimerSchedule& schedule : {daily, Weekly(1, 0, 0), Weekly(3, 12, 59)}) {
        EXPECT_EQ(platform::ScheduleOfCalendar(platform::CalendarOf(schedule)), schedule);
    }
    for (const char* other : {"daily", "Mon..Fri *-*-* 02:00:00", "*-*-1 02:00:00", ""}) {
        EXPECT_FALSE(platform::ScheduleOfCalendar(S(other))) << other;
    }
}

class RecordingTimer : public ::testing::Test {
  protected:
    UserTimer Timer() {
        return UserTimer(platform::HostPath(units.path()),
                         [this](const QString& program, const QStringList& args) {
                             calls.append(program + u' ' + args.join(u' '));
                             return answer;
                         });
    }
    QString Unit(const char* name) const {
        QFile file(units.filePath(S(name)));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir units;
    QStringList calls;
    platform::CommandOutcome answer{true, 0, QString(), QString()};
};

TEST_F(RecordingTimer, InstallWritesBothUnitsThenEnablesAndStartsTheTimer) {
    const UserTimer timer = Timer();
    ASSERT_FALSE(timer.Installed());
    const platform::HostPath odd(S("/home/ha na/100%$\"x\\"));
    ASSERT_FALSE(timer.Install(Weekly(3, 4, 15), H("/usr/bin/tetoru"), odd));
    EXPECT_EQ(calls, QStringList({S("systemctl --user daemon-reload"),
                                  S("systemctl --user enable tetoru.timer"),
                                  S("systemctl --user restart tetoru.timer")}));
    EXPECT_TRUE(Unit("tetoru.timer").contains(S("\nOnCalendar=Wed *-*-* 04:15:00\n")));
    EXPECT_TRUE(Unit("tetoru.timer").contains(S("\nPersistent=true\n")));
    // The folder reaches Tetoru exactly: specifiers, variables and quotes escaped.
    EXPECT_TRUE(Unit("tetoru.service")
                    .contains(S("\nEnvironment=\"KIBAKO_HOME=/home/ha na/100%%$$\\\"x\\\\\"\n")))
        << Unit("tetoru.service").toStdString();
    EXPECT_TRUE(Unit("tetoru.service").contains(S("\nExecStart=\"/usr/bin/tetoru\"\n")));
    EXPECT_EQ(timer.Installed(), Weekly(3, 4, 15));

    calls.clear();
    ASSERT_FALSE(timer.Remove());
    EXPECT_EQ(calls, QStringList({S("systemctl --user disable --now tetoru.timer"),
                                  S("systemctl --user daemon-reload")}));
    EXPECT_TRUE(QDir(units.path()).isEmpty());
}

TEST_F(RecordingTimer, AManagerThatCannotBeReachedIsSaidWithItsReason) {
    answer = platform::CommandOutcome{true, 1, QString(), S("Failed to connect to bus")};
    const UserTimer timer = Timer();
    EXPECT_EQ(timer.ManagerMissing(),
              S("systemctl --user show-environment: Failed to connect to bus"));
    EXPECT_EQ(timer.Install(Weekly(1, 1, 0), H("/usr/bin/tetoru"), H("/home/h")),
              S("systemctl --user daemon-reload: Failed to connect to bus"));
    EXPECT_TRUE(QFile::exists(units.filePath(S("tetoru.timer"))))
        << "the files stay for the person to finish by hand";
    answer = platform::CommandOutcome{false, -1, QString(), S("No such file or directory")};
    EXPECT_EQ(Timer().ManagerMissing(), S("systemctl: No such file or directory"));
    EXPECT_EQ(Timer().NextRun(), QString());
}

TEST_F(RecordingTimer, AServiceWhosePathsSystemdCannotReadIsNotWritten) {
    EXPECT_TRUE(Timer().Install(Weekly(1, 1, 0), H("/usr/bin/tetoru"), H("/home/a\nExecStart=/x")));
    // A program folder whose name is Shift_JIS bytes ("テスト"), not UTF-8: written as text it
    // would name another folder, so the timer would run with nothing registered.
    const platform::HostPath sjis(platform::HostText("/home/\x83\x65\x83\x58\x83\x67"));
    const std::optional<QString> error =
        Timer().Install(Weekly(1, 1, 0), H("/usr/bin/tetoru"), sjis);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(S("not UTF-8"))) << error->toStdString();
    EXPECT_TRUE(error->contains(S("/home/?"))) << error->toStdString();
    EXPECT_TRUE(QDir(units.path()).isEmpty());
    EXPECT_TRUE(calls.isEmpty());
}

// systemd's own reader accepts both files as written.
TEST_F(RecordingTimer, TheUnitsPassSystemdAnalyzeVerify) {
    const QString analyze = QStandardPaths::findExecutable(S("systemd-analyze"));
    if (analyze.isEmpty()) GTEST_SKIP() << "systemd-analyze (Debian package systemd) is absent";
    const platform::HostPath tetoru(qEnvironmentVariable("KIBAKO_BUILD_DIR") +
                                    S("/src/tetoru/tetoru"));
    ASSERT_FALSE(Timer().Install(Weekly(5, 22, 0), tetoru, H("/home/h a/100%")));
    QProcess verify;
    verify.setWorkingDirectory(units.path());
    verify.start(analyze, {S("verify"), units.filePath(S("tetoru.service")),
                           units.filePath(S("tetoru.timer"))});
    ASSERT_TRUE(verify.waitForFinished(60'000));
    const QString said =
        QString::fromUtf8(verify.readAllStandardError() + verify.readAllStandardOutput());
    // Without a running manager it may say that it cannot reach one; it must
    // not find fault with the files.
    EXPECT_FALSE(said.contains(S("tetoru.service:"))) << said.toStdString();
    EXPECT_FALSE(said.contains(S("tetoru.timer:"))) << said.toStdString();
}

}  // namespace
