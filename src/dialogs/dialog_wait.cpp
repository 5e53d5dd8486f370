#include "dialogs/dialog_wait.h"

#include <QGuiApplication>

namespace dialogs {

int DialogWait::Run() {
    if (!finished_) loop_.exec();
    return answer_;
}

void DialogWait::Finish(int answer) {
    if (finished_) return;
    finished_ = true;
    answer_ = answer;
    loop_.quit();
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

}  // namespace dialogs
