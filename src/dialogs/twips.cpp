#include "dialogs/twips.h"

#include <QScreen>

#include <cmath>

namespace dialogs {
namespace {
constexpr double kTwipsPerInch = 1440.0;
}

Twips::Twips(double dotsPerInchX, double dotsPerInchY)
    : dpiX_(dotsPerInchX > 0 ? dotsPerInchX : 96.0),
      dpiY_(dotsPerInchY > 0 ? dotsPerInchY : 96.0) {}

int Twips::X(int twips) const {
    return static_cast<int>(std::lround(twips * dpiX_ / kTwipsPerInch));
}

int Twips::Y(int twips) const {
    return static_cast<int>(std::lround(twips * dpiY_ / kTwipsPerInch));
}

Twips TwipsOf(const QScreen* screen) {
    if (screen == nullptr) return Twips();
    return Twips(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

}  // namespace dialogs
