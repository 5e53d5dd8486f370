#include "dialogs/twips.h"

#include "util/twips.h"

#include <QScreen>

namespace dialogs {
Twips::Twips(double dotsPerInchX, double dotsPerInchY)
    : dpiX_(dotsPerInchX > 0 ? dotsPerInchX : 96.0),
      dpiY_(dotsPerInchY > 0 ? dotsPerInchY : 96.0) {}

int Twips::X(int twips) const { return util::TwipsToPixels(twips, dpiX_); }

int Twips::Y(int twips) const { return util::TwipsToPixels(twips, dpiY_); }

Twips TwipsOf(const QScreen* screen) {
    if (screen == nullptr) return Twips();
    return Twips(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

}  // namespace dialogs
