#pragma once

class QScreen;

namespace dialogs {

// Converts window geometry given in twips (1/1440 inch) to pixels with the
// logical resolution of a screen.
class Twips {
  public:
    explicit Twips(double dotsPerInchX = 96.0, double dotsPerInchY = 96.0);

    // Rounded to the nearest pixel.
    int X(int twips) const;
    int Y(int twips) const;

  private:
    double dpiX_;
    double dpiY_;
};

// The screen's logical resolution; 96 dpi when there is no screen.
Twips TwipsOf(const QScreen* screen);

}  // namespace dialogs
