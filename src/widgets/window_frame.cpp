#include "widgets/window_frame.h"

#include <QWidget>
#include <QWindow>

namespace kibako::widgets {

QMargins FrameMargins(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

void MoveOuterTo(QWidget* window, QPoint outerTopLeft) {
    const QMargins frame = FrameMargins(window);
    window->setGeometry(QRect(outerTopLeft + QPoint(frame.left(), frame.top()), window->size()));
}

}  // namespace kibako::widgets
