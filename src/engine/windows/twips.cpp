#include "engine/windows/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace engine::windows {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDotsPerInch = 96.0;
// Far beyond any screen, small enough that the pixels fit an int.
constexpr qint64 kTwipsLimit = 100'000'000;

}  // namespace

int TwipsToPixels(qint64 twips, double dotsPerInch) {
    const double dpi = dotsPerInch > 0 ? dotsPerInch : kDefaultDotsPerInch;
    const qint64 bounded = std::clamp(twips, -kTwipsLimit, kTwipsLimit);
    return static_cast<int>(std::lround(static_cast<double>(bounded) * dpi / kTwipsPerInch));
}

QPoint TwipsToPixels(qint64 xTwips, qint64 yTwips, const QScreen* screen) {
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : kDefaultDotsPerInch;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : kDefaultDotsPerInch;
    return {TwipsToPixels(xTwips, dpiX), TwipsToPixels(yTwips, dpiY)};
}

}  // namespace engine::windows
