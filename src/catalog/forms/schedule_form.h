#pragma once

#include "platform/user_timer.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTimeEdit;

namespace catalog {

// Lets the person choose when Tetoru runs by itself: not at all, every day,
// or one day a week, at a time. OK writes and enables Tetoru's systemd user
// timer (or removes it); where the user's service manager cannot be reached,
// the dialog says so and shows the two unit files to install by hand.
class ScheduleForm : public QDialog {
    Q_OBJECT
  public:
    // `tetoru` is the Tetoru the timer starts; `programFolder` the program
    // folder it is to use (this catalog's).
    ScheduleForm(platform::UserTimer timer, platform::HostPath tetoru,
                 platform::HostPath programFolder, QWidget* parent = nullptr);

    // What the controls say now; nothing for "not by itself".
    std::optional<platform::TimerSchedule> Chosen() const;
    void Choose(const std::optional<platform::TimerSchedule>& schedule);
    // Why the service manager cannot be reached; empty when it can.
    const QString& ManagerMissing() const { return managerMissing_; }

    // OK: installs or removes the timer. The reason when that failed (the
    // dialog then stays open), nothing when it is done.
    std::optional<QString> Apply();

  private:
    void BuildControls();
    void ShowState();
    void ShowHandInstall();
    void Accept();

    platform::UserTimer timer_;
    platform::HostPath tetoru_;
    platform::HostPath programFolder_;
    QString managerMissing_;
    QButtonGroup* every_ = nullptr;
    QComboBox* weekday_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QLabel* state_ = nullptr;
    QPlainTextEdit* handInstall_ = nullptr;
};

}  // namespace catalog
