#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kibako::catalog {

enum class Placement { Beside = 0, Centred = 1 };

// Where a dialog of size `dialog` goes next to `owner` (outer rectangles in
// pixels; an owner top above the screen counts as 0). Centred: over the
// owner's middle, not kept on the screen. Beside: below the owner when it
// fits on the screen, else above it, else right of it, else at the owner's
// left edge and the top of the screen.
QPoint PlaceDialogPosition(QSize dialog, QRect owner, QSize screen, Placement mode);

// Raises the dialog (keeping it above a maximised owner) and moves its outer
// corner to PlaceDialogPosition on the owner's screen; its size is kept.
void PlaceDialog(QWidget* dialog, const QWidget* owner, Placement mode);

}  // namespace kibako::catalog
