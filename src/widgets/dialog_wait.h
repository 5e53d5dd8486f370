#pragma once

// The one way a window waits for a person's answer: a local event loop, so
// other windows keep repainting and timers keep running while it waits.

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace widgets {

// One wait for a dialog: a local event loop that runs until Finish. Waits
// nest: a dialog opened while another waits gets its own DialogWait, and the
// outer wait returns only after the inner one has.
class DialogWait {
  public:
    DialogWait() = default;
    DialogWait(const DialogWait&) = delete;
    DialogWait& operator=(const DialogWait&) = delete;

    // Processes events until Finish has been called (at once if it already was).
    void Run();
    // Later calls are ignored.
    void Finish();
    bool Finished() const { return finished_; }

  private:
    QEventLoop loop_;
    bool finished_ = false;
};

// A DialogWait for a dialog's answer (a message box's util::Answer, a
// dialog's own outcome): the first Finish gives it, later calls are ignored.
template <typename Result>
class AnswerWait {
  public:
    // `unanswered` is what Run returns should the wait end without Finish.
    explicit AnswerWait(Result unanswered) : answer_(unanswered) {}
    AnswerWait(const AnswerWait&) = delete;
    AnswerWait& operator=(const AnswerWait&) = delete;

    // Processes events until Finish has been called (at once if it already
    // was); returns the answer given to Finish.
    Result Run() {
        wait_.Run();
        return answer_;
    }
    void Finish(Result answer) {
        if (wait_.Finished()) return;
        answer_ = answer;
        wait_.Finish();
    }
    bool Finished() const { return wait_.Finished(); }

  private:
    DialogWait wait_;
    Result answer_;
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

}  // namespace widgets
