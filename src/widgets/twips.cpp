#include "widgets/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace widgets {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDotsPerInch = 96.0;
constexpr qint64 kTwipsLimit = 100'000'000;

int Rounded(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

int TwipsToPixels(qint64 twips, double dotsPerInch) {
    const double dpi = dotsPerInch > 0 ? dotsPerInch : kDefaultDotsPerInch;
    const qint64 bounded = std::clamp(twips, -kTwipsLimit, kTwipsLimit);
    return Rounded(static_cast<double>(bounded) * dpi / kTwipsPerInch);
}

Twips::Twips(double dotsPerInchX, double dotsPerInchY)
    : dpiX_(dotsPerInchX > 0 ? dotsPerInchX : kDefaultDotsPerInch),
      dpiY_(dotsPerInchY > 0 ? dotsPerInchY : kDefaultDotsPerInch) {}

int Twips::X(qint64 twips) const { return TwipsToPixels(twips, dpiX_); }

int Twips::Y(qint64 twips) const { return TwipsToPixels(twips, dpiY_); }

Twips TwipsOf(const QScreen* screen) {
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return Twips();
    return Twips(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

int ScreenScale::PixelsX(int twips) const { return Rounded(static_cast<double>(twips) / tpx); }

int ScreenScale::PixelsY(int twips) const { return Rounded(static_cast<double>(twips) / tpy); }

ScreenScale ScreenScaleOf(const QWidget& widget) {
    const int dpiX = std::max(widget.logicalDpiX(), 1);
    const int dpiY = std::max(widget.logicalDpiY(), 1);
    // A screen finer than 1440 dpi still gets one twip a pixel, never a
    // scale that divides by zero.
    return {std::max(1440 / dpiX, 1), std::max(1440 / dpiY, 1)};
}

}  // namespace widgets
