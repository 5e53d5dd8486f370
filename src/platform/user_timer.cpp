#include "platform/user_timer.h"

#include "platform/host_name.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {
namespace {

const char* const kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr int kSystemctlTimeoutMs = 30'000;

// A word of a unit file in double quotes: systemd's specifiers (%) and
// variables ($) doubled, quotes and backslashes escaped.
QString Quoted(const QString& text) {
    QString quoted;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'"') quoted += u'\\';
        if (c == u'%' || c == u'$') quoted += c;
        quoted += c;
    }
    return u'"' + quoted + u'"';
}

bool HasLineBreakOrControl(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
    }
    return false;
}

std::optional<QString> WriteUnit(const HostPath& path, const QString& text) {
    QSaveFile file(path.text());
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        return path.text() + QStringLiteral(": ") + file.errorString();
    }
    return std::nullopt;
}

QString CalendarLine(const QString& timerText) {
    for (const QString& line : timerText.split(u'\n')) {
        if (line.startsWith(QLatin1String("OnCalendar="))) return line.mid(11).trimmed();
    }
    return QString();
}

CommandOutcome RunForReal(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    CommandOutcome outcome;
    if (!process.waitForStarted()) {
        outcome.error = process.errorString();
        return outcome;
    }
    outcome.started = true;
    if (!process.waitForFinished(kSystemctlTimeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.output = QString::fromUtf8(process.readAllStandardOutput());
    outcome.error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return outcome;
}

}  // namespace

QString CalendarOf(const TimerSchedule& schedule) {
    const QString time = schedule.time.toString(QStringLiteral("HH:mm:00"));
    if (schedule.every == TimerSchedule::Every::Day) return QStringLiteral("*-*-* ") + time;
    const int day = std::clamp(schedule.weekday, 1, 7);
    return QLatin1String(kWeekdays[day - 1]) + QStringLiteral(" *-*-* ") + time;
}

std::optional<TimerSchedule> ScheduleOfCalendar(const QString& calendar) {
    const QStringList words = calendar.simplified().split(u' ');
    if (words.size() < 2 || words.size() > 3 || words[words.size() - 2] != QLatin1String("*-*-*"))
        return std::nullopt;
    TimerSchedule schedule;
    schedule.time = QTime::fromString(words.last(), QStringLiteral("HH:mm:ss"));
    if (!schedule.time.isValid()) return std::nullopt;
    if (words.size() == 2) return schedule;
    schedule.every = TimerSchedule::Every::Week;
    for (int day = 1; day <= 7; ++day) {
        if (words.first() == QLatin1String(kWeekdays[day - 1])) {
            schedule.weekday = day;
            return schedule;
        }
    }
    return std::nullopt;
}

QString ServiceUnitText(const HostPath& tetoru, const HostPath& programFolder) {
    return QStringLiteral(
               "# Written by Kibako's schedule dialog (Tetoruｵﾌﾟｼｮﾝ): one unattended backup.\n"
               "[Unit]\n"
               "Description=Kibako unattended backup (Tetoru)\n"
               "\n"
               "[Service]\n"
               "Type=oneshot\n"
               "Environment=%1\n"
               "ExecStart=%2\n")
        .arg(Quoted(QStringLiteral("KIBAKO_HOME=") + programFolder.text()), Quoted(tetoru.text()));
}

QString TimerUnitText(const TimerSchedule& schedule) {
    return QStringLiteral(
               "# Written by Kibako's schedule dialog (Tetoruｵﾌﾟｼｮﾝ): starts tetoru.service,\n"
               "# and at the next start when the machine was off at that time.\n"
               "[Unit]\n"
               "Description=Kibako backup on a schedule (Tetoru)\n"
               "\n"
               "[Timer]\n"
               "OnCalendar=%1\n"
               "Persistent=true\n"
               "\n"
               "[Install]\n"
               "WantedBy=timers.target\n")
        .arg(CalendarOf(schedule));
}

UserTimer::UserTimer(HostPath unitFolder, CommandRunner runner)
    : unitFolder_(std::move(unitFolder)), runner_(std::move(runner)) {}

UserTimer UserTimer::ForUser() {
    return UserTimer(
        HostPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/systemd/user")),
        RunForReal);
}

std::optional<QString> UserTimer::Systemctl(const QStringList& arguments, QString* output) const {
    const CommandOutcome outcome =
        runner_(QStringLiteral("systemctl"), QStringList{QStringLiteral("--user")} + arguments);
    if (output) *output = outcome.output;
    if (!outcome.started) return QStringLiteral("systemctl: ") + outcome.error;
    if (outcome.exitCode != 0) {
        return QStringLiteral("systemctl --user %1: %2")
            .arg(arguments.join(u' '), outcome.error.isEmpty()
                                           ? QStringLiteral("status %1").arg(outcome.exitCode)
                                           : outcome.error);
    }
    return std::nullopt;
}

std::optional<QString> UserTimer::ManagerMissing() const {
    return Systemctl({QStringLiteral("show-environment")});
}

std::optional<TimerSchedule> UserTimer::Installed() const {
    QFile file(unitFolder_.Below(QLatin1String(kTimerName)).text());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return ScheduleOfCalendar(CalendarLine(QString::fromUtf8(file.readAll())));
}

QString UserTimer::NextRun() const {
    QString output;
    if (Systemctl({QStringLiteral("show"), QLatin1String(kTimerName),
                   QStringLiteral("--property=NextElapseUSecRealtime"), QStringLiteral("--value")},
                  &output)) {
        return QString();
    }
    return output.trimmed();
}

std::optional<QString> UserTimer::Install(const TimerSchedule& schedule, const HostPath& tetoru,
                                          const HostPath& programFolder) const {
    for (const HostPath* path : {&tetoru, &programFolder}) {
        if (HasLineBreakOrControl(path->text())) {
            return QStringLiteral("a unit file cannot name a path with a line break: ") +
                   DisplayText(path->text());
        }
        // systemd reads unit files, and takes environment values, only as UTF-8.
        if (HoldsEscapedBytes(path->text())) {
            return QStringLiteral("a unit file cannot name a path that is not UTF-8: ") +
                   DisplayText(path->text());
        }
    }
    if (!QDir().mkpath(unitFolder_.text()))
        return unitFolder_.text() + QStringLiteral(": cannot be made");
    if (auto error = WriteUnit(unitFolder_.Below(QLatin1String(kServiceName)),
                               ServiceUnitText(tetoru, programFolder))) {
        return error;
    }
    if (auto error =
            WriteUnit(unitFolder_.Below(QLatin1String(kTimerName)), TimerUnitText(schedule))) {
        return error;
    }
    if (auto error = Systemctl({QStringLiteral("daemon-reload")})) return error;
    // A timer already running picks up its new time with the restart.
    if (auto error = Systemctl({QStringLiteral("enable"), QLatin1String(kTimerName)})) return error;
    return Systemctl({QStringLiteral("restart"), QLatin1String(kTimerName)});
}

std::optional<QString> UserTimer::Remove() const {
    // A timer that was never enabled answers with an error: nothing to undo.
    Systemctl({QStringLiteral("disable"), QStringLiteral("--now"), QLatin1String(kTimerName)});
    for (const char* name : {kTimerName, kServiceName}) {
        const QString path = unitFolder_.Below(QLatin1String(name)).text();
        if (QFile::exists(path) && !QFile::remove(path)) {
            return path + QStringLiteral(": cannot be removed");
        }
    }
    return Systemctl({QStringLiteral("daemon-reload")});
}

}  // namespace platform
