#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace engine::windows {

// The top-left corner of a dialog of size `dialog` centred over the owner's
// frame `owner`: an owner top above the screen counts as 0, halves are
// rounded towards zero, and the result is not kept on the screen.
QPoint CentredOver(const QRect& owner, const QSize& dialog);

// Places `dialog` (not yet shown) centred over `owner`, or over the primary
// screen when there is no owner, and raises it; over a maximised owner it is
// kept above every other window.
void PlaceDialogCentred(QWidget& dialog, const QWidget* owner);

// Only the move of PlaceDialogCentred: for a shown dialog, whose frame is
// known only once the window system has decorated it.
void MoveCentredOver(QWidget& dialog, const QWidget* owner);

}  // namespace engine::windows
