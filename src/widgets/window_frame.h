#pragma once

#include <QMargins>
#include <QPoint>

class QWidget;

namespace widgets {

// The window manager's frame around a top-level window: empty until the window
// has a native window and the window manager has told its frame.
QMargins FrameMargins(const QWidget* window);

// The frame to reckon with for a window: its own once the window manager has
// told it, else `stand-in` (the frame of its owner: the same window manager
// decorates both alike).
QMargins ReckonedFrame(const QMargins& own, const QMargins& standIn);

// Puts the window's outer (frame) top-left corner at the point, keeping its
// size. Placement rules speak of outer rectangles; Qt positions a hidden
// window's client area, so the frame is added here. A window not decorated
// yet (before its first show) takes the frame of `frameLike`, when given:
// without it, its frame would start a title bar's height above the point.
void MoveOuterTo(QWidget* window, QPoint outerTopLeft, const QWidget* frameLike = nullptr);

}  // namespace widgets
