#pragma once

// The one way a window waits for a person's answer: a local event loop, so
// other windows keep repainting and timers keep running while it waits.

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace kibako::widgets {

// One wait for a dialog's answer: a local event loop that runs until Finish.
// Waits nest: a dialog opened while another waits gets its own DialogWait, and
// the outer wait returns only after the inner one has.
class DialogWait {
  public:
    DialogWait() = default;
    DialogWait(const DialogWait&) = delete;
    DialogWait& operator=(const DialogWait&) = delete;

    // Processes events until Finish has been called (at once if it already
    // was); returns the answer given to Finish.
    int Run();
    // The first call sets the answer; later calls are ignored.
    void Finish(int answer);
    bool Finished() const { return finished_; }

  private:
    QEventLoop loop_;
    int answer_ = 0;
    bool finished_ = false;
};

// A DialogWait that the window's hiding or destruction finishes; returns at
// once when the window is not visible. For windows that answer by hiding.
void WaitUntilHidden(QWidget& window);

// Disables the owner window for as long as it lives, shows the normal arrow
// pointer, and afterwards restores the owner's enabled state, its focus and
// the pointer and activates the owner again. The owner may be null or be
// deleted meanwhile.
class OwnerLock {
  public:
    explicit OwnerLock(QWidget* owner);
    ~OwnerLock();
    OwnerLock(const OwnerLock&) = delete;
    OwnerLock& operator=(const OwnerLock&) = delete;

  private:
    QPointer<QWidget> owner_;
    // Disabling a window takes the focus from its children.
    QPointer<QWidget> focus_;
    bool wasEnabled_ = true;
};

}  // namespace kibako::widgets
