#include "engine/windows/dialog_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace engine::windows {

QPoint CentredOver(const QRect& owner, const QSize& dialog) {
    const int top = std::max(owner.top(), 0);
    return {owner.left() + owner.width() / 2 - dialog.width() / 2,
            top + owner.height() / 2 - dialog.height() / 2};
}

void MoveCentredOver(QWidget& dialog, const QWidget* owner) {
    QRect area;
    if (owner != nullptr) {
        area = owner->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    dialog.move(CentredOver(area, dialog.frameGeometry().size()));
}

void PlaceDialogCentred(QWidget& dialog, const QWidget* owner) {
    const bool onTop = owner != nullptr && owner->isMaximized();
    if (dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
    dialog.adjustSize();
    MoveCentredOver(dialog, owner);
    dialog.raise();
}

}  // namespace engine::windows
