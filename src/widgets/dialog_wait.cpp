#include "widgets/dialog_wait.h"

#include <QEvent>
#include <QGuiApplication>

namespace widgets {
namespace {

// Finishes a wait when the watched window is hidden or destroyed.
class HideWatcher final : public QObject {
  public:
    HideWatcher(QWidget& window, DialogWait& wait) : wait_(wait) {
        window.installEventFilter(this);
        connect(&window, &QObject::destroyed, this, [this] { wait_.Finish(); });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) wait_.Finish();
        return QObject::eventFilter(watched, event);
    }

  private:
    DialogWait& wait_;
};

}  // namespace

void DialogWait::Run() {
    if (!finished_) loop_.exec();
}

void DialogWait::Finish() {
    if (finished_) return;
    finished_ = true;
    loop_.quit();
}

void WaitUntilHidden(QWidget& window) {
    if (!window.isVisible()) return;
    DialogWait wait;
    HideWatcher watcher(window, wait);
    wait.Run();
}

OwnerLock::OwnerLock(QWidget* owner) : owner_(owner) {
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    if (owner_) {
        wasEnabled_ = owner_->isEnabled();
        focus_ = owner_->focusWidget();
        owner_->setEnabled(false);
    }
}

OwnerLock::~OwnerLock() {
    QGuiApplication::restoreOverrideCursor();
    if (!owner_) return;
    owner_->setEnabled(wasEnabled_);
    if (focus_ && focus_->isEnabled()) focus_->setFocus(Qt::OtherFocusReason);
    if (owner_->isVisible()) owner_->activateWindow();
}

}  // namespace widgets
