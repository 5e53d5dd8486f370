#pragma once

// Where a dialog goes relative to the window it belongs to. Rectangles are
// outer (frame) rectangles in pixels.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace widgets {

enum class Placement { Beside, Centred };

// The top-left corner of a dialog of size `dialog` centred over the owner's
// frame `owner`: an owner top above the screen counts as 0, halves are
// rounded towards zero, and the result is not kept on the screen.
QPoint CentredOver(const QRect& owner, const QSize& dialog);

// Centred: CentredOver. Beside: below the owner when it fits on a screen of
// size `screen`, else above it, else right of it, else at the owner's left
// edge and the top of the screen (an owner top above the screen counts as 0).
QPoint DialogPosition(QSize dialog, QRect owner, QSize screen, Placement placement);

// Moves the dialog's outer corner to DialogPosition on the owner's screen,
// keeping its size, and raises it; over a maximised owner it is kept above
// every other window. Without an owner it is centred over the primary
// screen's available area.
void PlaceDialog(QWidget& dialog, const QWidget* owner, Placement placement = Placement::Centred);

// Only the move of a centred PlaceDialog: for a shown dialog, whose frame is
// known only once the window system has decorated it.
void MoveCentredOver(QWidget& dialog, const QWidget* owner);

}  // namespace widgets
