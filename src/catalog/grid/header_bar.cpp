#include "catalog/grid/header_bar.h"

#include <QMouseEvent>
#include <QPainter>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"

namespace catalog::grid {

namespace {

void VLine(QPainter& p, int x, int y1, int y2, const QColor& colour) {
    p.fillRect(QRect(QPoint(x, y1), QPoint(x, y2)), colour);
}

// Outline of the inclusive rectangle from (x1, y1) to (x2, y2).
void Outline(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y1)), colour);
    p.fillRect(QRect(QPoint(x1, y2), QPoint(x2, y2)), colour);
    VLine(p, x1, y1, y2, colour);
    VLine(p, x2, y1, y2, colour);
}

}  // namespace

HeaderBar::HeaderBar(GridSide* side, QWidget* parent) : QWidget(parent), side_(side) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void HeaderBar::SetColours(ColourRef text, ColourRef background) {
    text_ = text;
    background_ = background;
    update();
}

void HeaderBar::SetLaidOutColumns(int columns) {
    laidOut_ = columns;
    update();
}

void HeaderBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(background_, palette()));
    const int w = width() - 3;
    const int h = height();
    Outline(p, 2, 2, w, h, Qt::white);
    Outline(p, 1, 1, w, h, Qt::black);
    Outline(p, 0, 0, w, h, QColor(0x80, 0x80, 0x80));
    VLine(p, w + 1, 0, h - 1, QColor(0xE0, 0xE0, 0xE0));
    VLine(p, w + 2, 0, h - 1, Qt::white);
    if (side_ == nullptr || side_->states.empty()) return;
    const GridState& g = *side_->states.front();
    p.setPen(ToQColor(text_, palette()));
    for (int i = 0; i < laidOut_ && i < kHeaderColumns; ++i) {
        const int edge = Edge(g, i);
        VLine(p, edge + 1, 1, h - 1, QColor(0x40, 0x40, 0x40));
        VLine(p, edge + 2, 1, h - 1, Qt::white);
        const int left = i == 0 ? 4 : Edge(g, i - 1) + 4;
        const int right = i == 0 ? edge - 4 : edge - 4;
        const QRect title(QPoint(left, 2), QPoint(right, h - 2));
        if (title.width() > 0) {
            p.drawText(title, Qt::AlignHCenter | Qt::AlignTop,
                       side_->titles[static_cast<size_t>(i)]);
        }
    }
}

void HeaderBar::mousePressEvent(QMouseEvent* event) {
    if (side_ == nullptr || side_->states.empty() || side_->surface == nullptr) return;
    const int x = event->position().toPoint().x();
    const HeaderPress press = PlanHeaderPress(*side_->states.front(), x, width());
    GridSurface& surface = *side_->surface;
    if (press.kind == HeaderPressKind::SelectColumn) {
        if (GridState* shown = surface.State()) {
            surface.InvalidateCell(*shown, shown->currentColumn, shown->currentRow);
            shown->currentColumn = press.column;
            RedrawCursor(surface, *shown);
        }
        emit columnSelected(press.column);
        return;
    }
    if (press.kind != HeaderPressKind::DragBorder) return;
    dragMode_ = press.dragMode;
    draggedColumn_ = press.column;
    dragMinimum_ = press.minimum;
    dragMaximum_ = press.maximum;
    dragX_ = x - 3;
    surface.SetXorLine(dragX_);
}

void HeaderBar::MoveDragLine(int x) {
    if (x < dragMinimum_ || x > dragMaximum_) return;
    dragX_ = x - 3;
    side_->surface->SetXorLine(dragX_);
}

void HeaderBar::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (dragMode_ != 0 && event->buttons() != Qt::NoButton) {
        MoveDragLine(x);
        return;
    }
    const bool near = side_ != nullptr && !side_->states.empty() &&
                      NearDraggableBorder(*side_->states.front(), x);
    if (near) {
        setCursor(Qt::SplitHCursor);
    } else {
        unsetCursor();
    }
}

void HeaderBar::mouseReleaseEvent(QMouseEvent* /*event*/) {
    if (dragMode_ == 0) return;
    GridSurface& surface = *side_->surface;
    surface.SetXorLine(-1);
    unsetCursor();
    const GridState& g = *side_->states.front();
    side_->widths[static_cast<size_t>(draggedColumn_)] = DraggedWidth(g, draggedColumn_, dragX_);
    dragMode_ = 0;
    LayoutHeaderBar(*this);
    if (GridState* shown = surface.State()) {
        FitGrid(surface, *shown, side_->bar);
        PaintGrid(surface, *shown, side_->bar);
    }
    emit columnWidthsChanged();
}

void LayoutHeaderBar(HeaderBar& header) {
    GridSide* side = header.Side();
    if (side == nullptr || side->surface == nullptr) return;
    const GridSurface& surface = *side->surface;
    header.setGeometry(surface.x(), surface.y() - header.height(), surface.width(),
                       header.height());
    const HeaderLayout layout =
        ComputeHeaderLayout(side->widths, header.width(), surface.InnerWidth());
    for (GridState* g : side->states) ApplyHeaderLayout(*g, layout);
    header.SetLaidOutColumns(layout.laidOut);
    if (GridState* shown = surface.State()) side->surface->InvalidatePage(*shown);
}

}  // namespace catalog::grid
