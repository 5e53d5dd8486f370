#include "engine/windows/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace engine::windows {

QPoint TwipsToPixels(qint64 xTwips, qint64 yTwips, const QScreen* screen) {
    constexpr double kDefaultDotsPerInch = 96.0;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const double dpiX = screen ? screen->logicalDotsPerInchX() : kDefaultDotsPerInch;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : kDefaultDotsPerInch;
    return {TwipsToPixels(xTwips, dpiX), TwipsToPixels(yTwips, dpiY)};
}

}  // namespace engine::windows
