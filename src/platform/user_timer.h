#pragma once

#include "platform/path_kinds.h"

#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <optional>

namespace platform {

// When Tetoru runs by itself: every day, or one day of the week, at a time.
struct TimerSchedule {
    enum class Every { Day, Week };
    Every every = Every::Day;
    int weekday = 1;  // with Every::Week: 1 Monday ... 7 Sunday
    QTime time{2, 0};

    bool operator==(const TimerSchedule&) const = default;
};

// A program the user timer runs (systemctl), as it ended.
struct CommandOutcome {
    bool started = false;  // false: the program could not be started at all
    int exitCode = -1;
    QString output;
    QString error;
};
using CommandRunner = std::function<CommandOutcome(const QString& program, const QStringList&)>;

// The systemd calendar expression of a schedule ("*-*-* 02:30:00", "Mon *-*-* 02:30:00"),
// and the schedule of an expression this program wrote; nothing for any other.
QString CalendarOf(const TimerSchedule& schedule);
std::optional<TimerSchedule> ScheduleOfCalendar(const QString& calendar);

// The two unit files: the service runs `tetoru` with the program folder
// `programFolder` (so it backs up what this catalog shows); the
// timer starts it on the schedule, and at the next start when the machine
// was off at that time.
QString ServiceUnitText(const HostPath& tetoru, const HostPath& programFolder);
QString TimerUnitText(const TimerSchedule& schedule);

// Tetoru's systemd user timer (tetoru.timer and tetoru.service) in the
// user's unit folder ($XDG_CONFIG_HOME/systemd/user, ~/.config/systemd/user),
// managed through `systemctl --user`. Tests give their own folder and runner.
class UserTimer {
  public:
    static constexpr const char* kServiceName = "tetoru.service";
    static constexpr const char* kTimerName = "tetoru.timer";

    UserTimer(HostPath unitFolder, CommandRunner runner);
    // The user's own unit folder and the real systemctl.
    static UserTimer ForUser();

    const HostPath& UnitFolder() const { return unitFolder_; }

    // Whether systemctl can reach the user's service manager; when it
    // cannot, the reason.
    std::optional<QString> ManagerMissing() const;

    // The schedule of the timer file there now; nothing when there is none
    // (or it is one this program did not write).
    std::optional<TimerSchedule> Installed() const;
    // When the timer runs next, as systemd says ("Tue 2026-12-10 02:00:00 JST");
    // empty when it does not say.
    QString NextRun() const;

    // Writes both files, reloads the manager and enables and starts the
    // timer. The reason when a step failed (files written stay, so that the
    // person can finish by hand).
    std::optional<QString> Install(const TimerSchedule& schedule, const HostPath& tetoru,
                                   const HostPath& programFolder) const;
    // Stops and disables the timer and removes both files.
    std::optional<QString> Remove() const;

  private:
    std::optional<QString> Systemctl(const QStringList& arguments, QString* output = nullptr) const;

    HostPath unitFolder_;
    CommandRunner runner_;
};

}  // namespace platform
