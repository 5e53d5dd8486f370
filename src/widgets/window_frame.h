#pragma once

#include <QMargins>
#include <QPoint>

class QWidget;

namespace kibako::widgets {

// The window manager's frame around a top-level window: empty until the window
// has a native window and the window manager has told its frame.
QMargins FrameMargins(const QWidget* window);

// Puts the window's outer (frame) top-left corner at the point, keeping its
// size. Placement rules speak of outer rectangles; Qt positions a hidden
// window's client area, so the frame is added here.
void MoveOuterTo(QWidget* window, QPoint outerTopLeft);

}  // namespace kibako::widgets
