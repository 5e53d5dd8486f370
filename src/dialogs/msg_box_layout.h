#pragma once

#include "widgets/twips.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace dialogs {

// What the message box's geometry depends on, all in pixels except the
// twips converter. Window rectangles are outer (frame) rectangles.
struct MsgBoxMetrics {
    widgets::Twips twips;
    int lineCount = 0;
    int lineHeight = 0;  // height of "A" in the window's font + 2
    int widestLine = 0;
    std::vector<int> buttonWidths;  // buttons shown, left to right
    int buttonHeight = 0;
    QMargins frame;  // outer minus inner; empty until a window manager framed the box
    QRect owner;
    QRect screen;
};

struct MsgBoxLayout {
    QPoint position;              // outer top-left
    QSize inner;                  // client area
    std::vector<QPoint> buttons;  // client coordinates, left to right
    QPoint icon;
    int textLeft = 0;
    int textTop = 0;
    int lineHeight = 0;

    QSize Outer(const QMargins& frame) const;
};

// Sizes the box to its text and buttons and puts its corner four fifths of the
// way across and down the owner, kept on the screen and 60 pixels above its
// bottom.
MsgBoxLayout LayoutMsgBox(const MsgBoxMetrics& m);

}  // namespace dialogs
