#include "widgets/dialog_placement.h"

#include "widgets/window_frame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace widgets {
namespace {

// Where a screen's size is unknown: the smallest screen the programs expect.
constexpr QSize kFallbackScreen(1024, 768);

QRect ScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(QPoint(0, 0), kFallbackScreen);
}

QSize ScreenSizeOf(const QWidget& owner) {
    const QScreen* screen = owner.screen();
    return screen != nullptr ? screen->geometry().size() : kFallbackScreen;
}

QSize OuterSize(const QWidget& dialog) { return dialog.size().grownBy(FrameMargins(&dialog)); }

}  // namespace

QPoint CentredOver(const QRect& owner, const QSize& dialog) {
    const int top = std::max(owner.top(), 0);
    return {owner.left() + owner.width() / 2 - dialog.width() / 2,
            top + owner.height() / 2 - dialog.height() / 2};
}

QPoint DialogPosition(QSize dialog, QRect owner, QSize screen, Placement placement) {
    if (placement == Placement::Centred) return CentredOver(owner, dialog);
    const int top = std::max(owner.top(), 0);
    const int right = owner.left() + owner.width();
    const int bottom = top + owner.height();
    if (bottom + dialog.height() < screen.height()) return {owner.left(), bottom};
    if (top - dialog.height() >= 0) return {owner.left(), top - dialog.height()};
    if (right + dialog.width() < screen.width()) return {right, top};
    return {owner.left(), 0};
}

void MoveCentredOver(QWidget& dialog, const QWidget* owner) {
    const QRect area = owner != nullptr ? owner->frameGeometry() : ScreenArea();
    MoveOuterTo(&dialog, CentredOver(area, OuterSize(dialog)));
}

void PlaceDialog(QWidget& dialog, const QWidget* owner, Placement placement) {
    const bool onTop = owner != nullptr && owner->isMaximized();
    // Changing a window's flags hides it: only a change is made.
    if (dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
    if (owner == nullptr) {
        MoveCentredOver(dialog, owner);
    } else {
        MoveOuterTo(&dialog, DialogPosition(OuterSize(dialog), owner->frameGeometry(),
                                            ScreenSizeOf(*owner), placement));
    }
    dialog.raise();
}

}  // namespace widgets
