#pragma once

// Window geometry is stored in twips (1/1440 inch); these are the only
// conversions between twips and pixels.

#include <QPoint>
#include <QtGlobal>

class QScreen;
class QWidget;

namespace widgets {

// Pixels follow from a screen's logical resolution, rounded to the nearest
// pixel; a resolution of 0 or less counts as 96 dots per inch, and twips far
// beyond any screen are bounded so that the pixels fit an int.
int TwipsToPixels(qint64 twips, double dotsPerInch);

// Converts twips to pixels with the logical resolution of one screen.
class Twips {
  public:
    explicit Twips(double dotsPerInchX = 96.0, double dotsPerInchY = 96.0);

    int X(qint64 twips) const;
    int Y(qint64 twips) const;
    QPoint Point(qint64 xTwips, qint64 yTwips) const { return {X(xTwips), Y(yTwips)}; }

  private:
    double dpiX_;
    double dpiY_;
};

// The screen's logical resolution; a null screen means the primary screen,
// and 96 dpi stands when there is no screen at all.
Twips TwipsOf(const QScreen* screen);

// Whole twips per pixel, taken once when the catalog window loads (15 at 96
// dpi): the catalog's layout does its arithmetic in twips with this scale,
// so a pixel is always the same whole number of twips.
struct ScreenScale {
    int tpx = 15;
    int tpy = 15;

    // Rounded to the nearest pixel.
    int PixelsX(int twips) const;
    int PixelsY(int twips) const;
};
ScreenScale ScreenScaleOf(const QWidget& widget);

}  // namespace widgets
