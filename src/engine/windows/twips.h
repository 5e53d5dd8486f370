#pragma once

#include <QPoint>
#include <QtGlobal>

#include "util/twips.h"

class QScreen;

namespace engine::windows {

using util::TwipsToPixels;

// A position in twips on `screen` (the primary screen when null).
QPoint TwipsToPixels(qint64 xTwips, qint64 yTwips, const QScreen* screen = nullptr);

}  // namespace engine::windows
