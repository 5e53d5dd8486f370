#pragma once

#include <QPoint>
#include <QtGlobal>

class QScreen;

namespace engine::windows {

// Window positions are stored in twips (1/1440 inch). Pixels follow from the
// screen's logical resolution, rounded to the nearest pixel; a resolution of
// 0 or less counts as 96 dots per inch.
int TwipsToPixels(qint64 twips, double dotsPerInch);

// A position in twips on `screen` (the primary screen when null).
QPoint TwipsToPixels(qint64 xTwips, qint64 yTwips, const QScreen* screen = nullptr);

}  // namespace engine::windows
