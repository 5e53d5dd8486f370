#include "catalog/grid/icon_strip.h"

#include <QPaintEngine>

namespace catalog::grid {

namespace {

constexpr int kIconCount = kLastIconCode - kFirstIconCode + 1;

// One icon drawn at `size` pixels with a transparent background.
QImage RenderIcon(int code, int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.scale(static_cast<double>(size) / kArtSize, static_cast<double>(size) / kArtSize);
    DrawIconArt(p, code);
    return icon;
}

// Splits an icon into image (black where transparent) and mask columns.
void PutIcon(QImage& strip, const QImage& icon, int y, int size) {
    for (int iy = 0; iy < size; ++iy) {
        const auto* src = reinterpret_cast<const QRgb*>(icon.constScanLine(iy));
        auto* row = reinterpret_cast<QRgb*>(strip.scanLine(y + iy));
        for (int ix = 0; ix < size; ++ix) {
            const bool opaque = qAlpha(src[ix]) >= 128;
            row[ix] = opaque ? (src[ix] | 0xFF000000u) : qRgb(0, 0, 0);
            row[size + ix] = opaque ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
}

QImage BuildStrip(int size) {
    QImage strip(2 * size, size * kIconCount, QImage::Format_RGB32);
    for (int i = 0; i < kIconCount; ++i) {
        PutIcon(strip, RenderIcon(kFirstIconCode + i, size), i * size, size);
    }
    return strip;
}

}  // namespace

QImage BuildIconMemory() { return BuildStrip(kArtSize); }

IconStrip IconStrip::Build(int size) {
    IconStrip s;
    s.size_ = std::max(size, 1);
    s.strip_ = BuildStrip(s.size_);
    return s;
}

QImage IconStrip::Transparent(int number) const {
    QImage icon(size_, size_, QImage::Format_ARGB32);
    for (int iy = 0; iy < size_; ++iy) {
        const auto* src = reinterpret_cast<const QRgb*>(strip_.constScanLine(number * size_ + iy));
        auto* dst = reinterpret_cast<QRgb*>(icon.scanLine(iy));
        for (int ix = 0; ix < size_; ++ix) {
            dst[ix] = qRed(src[size_ + ix]) == 0 ? src[ix] : qRgba(0, 0, 0, 0);
        }
    }
    return icon;
}

void IconStrip::Draw(QPainter& painter, int x, int y, int number) const {
    if (size_ <= 0 || number < 0 || number >= IconCount()) return;
    const int sy = number * size_;
    const QPaintEngine* engine = painter.paintEngine();
    if (engine != nullptr && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        const QPainter::CompositionMode old = painter.compositionMode();
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(QPoint(x, y), strip_, QRect(size_, sy, size_, size_));
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.drawImage(QPoint(x, y), strip_, QRect(0, sy, size_, size_));
        painter.setCompositionMode(old);
        return;
    }
    painter.drawImage(QPoint(x, y), Transparent(number));
}

}  // namespace catalog::grid
