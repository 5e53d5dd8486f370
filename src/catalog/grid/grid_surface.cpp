#include "catalog/grid/grid_surface.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/grid_input.h"

namespace catalog::grid {

int ShiftStateOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= kShiftBit;
    if (modifiers & Qt::ControlModifier) shift |= kCtrlBit;
    if (modifiers & Qt::AltModifier) shift |= kAltBit;
    return shift;
}

int ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

int ButtonsOf(Qt::MouseButtons buttons) {
    int result = 0;
    if (buttons & Qt::LeftButton) result |= kLeftButton;
    if (buttons & Qt::RightButton) result |= kRightButton;
    if (buttons & Qt::MiddleButton) result |= kMiddleButton;
    return result;
}

GridSurface::GridSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void GridSurface::SetState(GridState* g) {
    state_ = g;
    update();
}

void GridSurface::SetScrollBar(QScrollBar* bar) {
    if (barConnection_) disconnect(barConnection_);
    bar_ = bar;
    if (bar != nullptr) {
        barConnection_ =
            connect(bar, &QScrollBar::valueChanged, this, &GridSurface::OnBarValueChanged);
    }
}

void GridSurface::OnBarValueChanged(int /*value*/) {
    if (state_ != nullptr) ScrollToBar(*this, *state_, bar_);
}

void GridSurface::SetColours(ColourRef text, ColourRef background) {
    text_ = text;
    background_ = background;
    update();
}

void GridSurface::SetIconCodeTable(const QString& table) {
    iconCodeTable_ = table;
    update();
}

int GridSurface::TextHeight() const { return QFontMetrics(font()).height(); }

QColor GridSurface::Resolve(ColourRef colour) const { return ToQColor(colour, palette()); }

PaintContext GridSurface::MakePaintContext() const {
    PaintContext ctx;
    ctx.background = Resolve(background_);
    ctx.foreground = Resolve(text_);
    ctx.palette = palette();
    ctx.iconCodeTable = iconCodeTable_;
    ctx.rowText = rowText_;
    return ctx;
}

void GridSurface::UpdateGridRect(const QRect& gridRect) {
    const QRect inner(kBorder, kBorder, InnerWidth(), InnerHeight());
    const QRect r = gridRect.translated(kBorder, kBorder).intersected(inner);
    if (!r.isEmpty()) {
        update(r);
        pending_ += r;
    }
}

void GridSurface::InvalidateCell(const GridState& g, int column, int row) {
    if (!Shows(g) || !IsRowVisible(g, row)) return;
    // The cursor frame and ruled lines of a cell lie inside CellRect; one more
    // pixel covers a line drawn at the edge itself.
    UpdateGridRect(CellRect(g, std::clamp(column, 0, g.columnCount - 1), row).adjusted(0, 0, 1, 0));
}

void GridSurface::InvalidateRow(const GridState& g, int row) { InvalidateRows(g, row, row); }

void GridSurface::InvalidateRows(const GridState& g, int from, int to) {
    if (!Shows(g) || g.rowHeight <= 0) return;
    from = std::max(from, g.topRow);
    to = std::min(to, LastPageRow(g));
    if (from > to) return;
    UpdateGridRect(QRect(0, RowTop(g, from), InnerWidth(), (to - from + 1) * g.rowHeight));
}

void GridSurface::InvalidatePage(const GridState& g) {
    if (!Shows(g)) return;
    UpdateGridRect(QRect(0, 0, InnerWidth(), InnerHeight()));
}

void GridSurface::ScrollPixels(const GridState& g, int rows) {
    if (!Shows(g)) return;
    if (std::abs(rows) >= g.visibleRows || !isVisible()) {
        InvalidatePage(g);
        return;
    }
    const int dy = -rows * g.rowHeight;
    const QRect page(kBorder, kBorder, InnerWidth(), g.visibleRows * g.rowHeight);
    // Requests not yet painted move with the pixels they belong to.
    const QRegion movedPending = pending_.translated(0, dy).intersected(page);
    scroll(0, dy, page);
    pending_ = movedPending;
    if (!movedPending.isEmpty()) update(movedPending);
    // The first uncovered row's tree line reaches into the row beside it.
    const int firstNew = rows > 0 ? g.topRow + g.visibleRows - rows - 1 : g.topRow;
    const int lastNew = rows > 0 ? g.topRow + g.visibleRows - 1 : g.topRow - rows;
    InvalidateRows(g, firstNew, lastNew);
}

void GridSurface::SetXorLine(int x) {
    const int height = InnerHeight();
    if (xorLine_ >= 0) UpdateGridRect(QRect(xorLine_, 0, 1, height));
    xorLine_ = x;
    if (xorLine_ >= 0) UpdateGridRect(QRect(xorLine_, 0, 1, height));
}

void GridSurface::DrawBorder(QPainter& p) const {
    const int w = width();
    const int h = height();
    p.fillRect(0, 0, w, 1, QColor(0x80, 0x80, 0x80));
    p.fillRect(0, 0, 1, h, QColor(0x80, 0x80, 0x80));
    p.fillRect(1, 1, w - 2, 1, Qt::black);
    p.fillRect(1, 1, 1, h - 2, Qt::black);
    p.fillRect(0, h - 1, w, 1, Qt::white);
    p.fillRect(w - 1, 0, 1, h, Qt::white);
    p.fillRect(1, h - 2, w - 2, 1, QColor(0xC0, 0xC0, 0xC0));
    p.fillRect(w - 2, 1, 1, h - 2, QColor(0xC0, 0xC0, 0xC0));
}

void GridSurface::paintEvent(QPaintEvent* event) {
    pending_ = QRegion();
    if (suspended_) return;
    QPainter p(this);
    DrawBorder(p);
    p.translate(kBorder, kBorder);
    const QRect inner(0, 0, InnerWidth(), InnerHeight());
    const QRect clip = event->rect().translated(-kBorder, -kBorder).intersected(inner);
    lastPainted_ = event->region().translated(-kBorder, -kBorder).intersected(inner);
    if (clip.isEmpty()) return;
    const PaintContext ctx = MakePaintContext();
    if (state_ == nullptr) {
        p.fillRect(clip, ctx.background);
    } else {
        DrawGridPage(p, *state_, ctx, clip);
    }
    if (xorLine_ >= 0) {
        p.setClipRect(clip);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(QRect(xorLine_, 0, 1, inner.height()), QColor(0x00, 0xFF, 0x00));
    }
}

void GridSurface::keyPressEvent(QKeyEvent* event) {
    if (state_ == nullptr) {
        event->ignore();
        return;
    }
    const int key = VirtualKeyOf(*event);
    const int shift = ShiftStateOf(event->modifiers());
    const GridKeyResult result = GridKeyDown(*this, *state_, bar_, key, shift);
    emit keyDown(key, shift, result.handled, result.marksChanged);
    if (result.handled) {
        event->accept();
    } else {
        event->ignore();
    }
}

void GridSurface::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint() - QPoint(kBorder, kBorder);
    const int shift = ShiftStateOf(event->modifiers());
    emit gridMouseDown(ButtonOf(event->button()), shift, pos);
    if (!defaultMouse_ || state_ == nullptr) return;
    const GridClickResult r = GridClick(*this, *state_, kLeftButton, shift, pos.x(), pos.y());
    emit clicked(r.cursorMoved, r.marksChanged);
}

void GridSurface::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint() - QPoint(kBorder, kBorder);
    const int buttons = ButtonsOf(event->buttons());
    emit gridMouseMove(buttons, ShiftStateOf(event->modifiers()), pos);
    if (!defaultMouse_ || state_ == nullptr) return;
    GridState& g = *state_;
    if (g.rowCount > 0 && (buttons & kLeftButton) && RowAtY(g, pos.y()) != g.currentRow) {
        const GridClickResult r = GridDrag(*this, g, bar_, kLeftButton, pos.x(), pos.y());
        emit clicked(r.cursorMoved, r.marksChanged);
    } else {
        unsetCursor();
    }
}

void GridSurface::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint() - QPoint(kBorder, kBorder);
    emit gridMouseUp(ButtonOf(event->button()), ShiftStateOf(event->modifiers()), pos);
    if (defaultMouse_) unsetCursor();
}

void GridSurface::wheelEvent(QWheelEvent* event) {
    if (bar_ != nullptr) {
        QApplication::sendEvent(bar_, event);
    } else {
        event->ignore();
    }
}

void GridSurface::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit focusEntered();
}

}  // namespace catalog::grid
