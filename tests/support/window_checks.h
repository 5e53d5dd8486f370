#pragma once

#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace testing_support {

// The child of `window` with this object name, cast to T; fails the test when
// there is none.
template <typename T>
T* Child(const QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// Texts that the widget's font (with the system's fallbacks) cannot draw:
// a glyph index 0 in a laid-out run means a missing glyph.
QStringList TextsWithMissingGlyphs(const QWidget& widget, const QStringList& texts);

// Every caption of the window's labels and buttons, and its title.
QStringList CaptionsOf(const QWidget& window);

// Keeps a broken test from waiting for ever on a window: after `ms` it fails
// the test and hides every window, which ends the waits on them.
class HangGuard {
  public:
    explicit HangGuard(int ms = 10000);
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

  private:
    QTimer timer_;
};

}  // namespace testing_support
