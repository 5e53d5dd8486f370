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
        owner_->setEnabled(false);
    }
}

OwnerLock::~OwnerLock() {
    QGuiApplication::restoreOverrideCursor();
    if (!owner_) return;
    owner_->setEnabled(wasEnabled_);
    if (owner_->isVisible()) {
        owner_->raise();
        owner_->activateWindow();
    }
}

QMargins FrameMargins(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

}  // namespace dialogs
