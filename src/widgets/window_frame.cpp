#include "widgets/window_frame.h"

#include <QWidget>
#include <QWindow>

namespace widgets {

QMargins FrameMargins(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QMargins ReckonedFrame(const QMargins& own, const QMargins& standIn) {
    return own.isNull() ? standIn : own;
}

void MoveOuterTo(QWidget* window, QPoint outerTopLeft, const QWidget* frameLike) {
    const QMargins frame = ReckonedFrame(
        FrameMargins(window), frameLike != nullptr ? FrameMargins(frameLike) : QMargins());
    window->setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), window->size()));
}

}  // namespace widgets
