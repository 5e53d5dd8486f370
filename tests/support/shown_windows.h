#pragma once

// Widget-test helpers for code that runs its own event loops (a backup run,
// a modal question): finding the window it shows, and acting at its event
// passes. Header-only, so that only widget tests pull in QtWidgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace testing_support {

// The shown top-level window with this object name, or nullptr.
inline QWidget* ShownWindow(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String(name) && window->isVisible()) return window;
    }
    return nullptr;
}

// Calls `step` at every event pass until it returns true. After 20 s it
// fails the test and hides every window, which ends the waits of a run.
class Poller {
  public:
    explicit Poller(std::function<bool()> step) : step_(std::move(step)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (step_()) timer_.stop();
        });
        timer_.start(0);
        guard_.setSingleShot(true);
        QObject::connect(&guard_, &QTimer::timeout, [] {
            ADD_FAILURE() << "the run did not end";
            for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
        });
        guard_.start(20000);
    }
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;

  private:
    std::function<bool()> step_;
    QTimer timer_;
    QTimer guard_;
};

}  // namespace testing_support
