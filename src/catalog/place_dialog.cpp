#include "catalog/place_dialog.h"

#include <QScreen>
#include <QWidget>

#include "dialogs/window_frame.h"

namespace kibako::catalog {

QPoint PlaceDialogPosition(QSize dialog, QRect owner, QSize screen, Placement mode) {
    const int w = dialog.width(), h = dialog.height();
    const int left = owner.left(), ownerWidth = owner.width(), ownerHeight = owner.height();
    const int top = std::max(owner.top(), 0);
    const int right = left + ownerWidth, bottom = top + ownerHeight;
    if (mode == Placement::Centred)
        return {left + ownerWidth / 2 - w / 2, top + ownerHeight / 2 - h / 2};
    if (bottom + h < screen.height()) return {left, bottom};
    if (top - h >= 0) return {left, top - h};
    if (right + w < screen.width()) return {right, top};
    return {left, 0};
}

void PlaceDialog(QWidget* dialog, const QWidget* owner, Placement mode) {
    if (dialog == nullptr || owner == nullptr) return;
    const QScreen* screen = owner->screen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
    if (owner->isMaximized()) dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const QMargins frame = dialogs::FrameMargins(dialog);
    const QSize outer = dialog->size().grownBy(frame);
    const QPoint at = PlaceDialogPosition(outer, owner->frameGeometry(), screenSize, mode);
    dialogs::MoveOuterTo(dialog, at);
    dialog->raise();
}

}  // namespace kibako::catalog
