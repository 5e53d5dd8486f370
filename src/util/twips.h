#pragma once

#include <QtGlobal>

namespace util {

// Window geometry is stored in twips (1/1440 inch). Pixels follow from a
// screen's logical resolution, rounded to the nearest pixel; a resolution of
// 0 or less counts as 96 dots per inch, and twips far beyond any screen are
// bounded so that the pixels fit an int.
int TwipsToPixels(qint64 twips, double dotsPerInch);

}  // namespace util
