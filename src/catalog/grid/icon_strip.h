#pragma once

#include <QImage>
#include <QPainter>

namespace catalog::grid {

inline constexpr int kFirstIconCode = 10;
inline constexpr int kLastIconCode = 37;
inline constexpr int kArtSize = 16;  // the artwork is designed on a 16-pixel square

// Draws the artwork of one icon code (10 to 37) on a 16 x 16 square at the
// painter's origin; codes outside the range draw nothing.
void DrawIconArt(QPainter& painter, int iconCode);

// The unscaled picture MRKMEM: every icon in 16-pixel rows, image at x = 0
// (black where transparent) and mask at x = 16 (white where transparent,
// black where the image shows).
QImage BuildIconMemory();

// The scaled icon strip MRKICO: icon number i (code 10 + i) at y = i * size,
// image at x = 0, mask at x = size. Drawn by AND-ing the mask and XOR-ing the
// image so that the background shows through.
class IconStrip {
  public:
    IconStrip() = default;
    // Paints the artwork scaled to `size` pixels (at least 1).
    static IconStrip Build(int size);

    int Size() const { return size_; }
    int IconCount() const { return size_ > 0 ? strip_.height() / size_ : 0; }
    const QImage& Strip() const { return strip_; }
    // Icon number i with transparency, for painters without raster operations.
    QImage Transparent(int number) const;

    // Draws icon number `number` with its top-left at (x, y).
    void Draw(QPainter& painter, int x, int y, int number) const;

  private:
    int size_ = 0;
    QImage strip_;
};

}  // namespace catalog::grid
