#include "catalog/grid/catalog_layout.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/grid/header_bar.h"

namespace catalog::grid {

namespace {

QRect ToPixels(const QRect& twips, ScreenScale s) {
    return QRect(s.PixelsX(twips.x()), s.PixelsY(twips.y()), s.PixelsX(twips.width()),
                 s.PixelsY(twips.height()));
}

void FitSide(HeaderBar& header) {
    GridSide& side = *header.Side();
    side.surface->SetPaintingSuspended(true);
    for (GridState* g : side.states) FitGrid(*side.surface, *g, side.bar);
    if (!side.states.empty()) PlaceScrollBar(side.bar, *side.surface, *side.states.front());
}

}  // namespace

bool ResizeGate::Admit(bool minimised) {
    if (settingUp) return false;
    if (minimised) {
        minimisedMark_ = true;
        return false;
    }
    if (minimisedMark_) {
        minimisedMark_ = false;
        return false;
    }
    return true;
}

FolderGridPlan PlanFolderGrid(int innerWidth, int innerHeight, int statusHeight, int dirTop,
                              int scrollBarWidth, int folderPercent, ScreenScale s) {
    FolderGridPlan plan;
    const int share = folderPercent == 0 ? 50 : folderPercent;
    plan.bottom = innerHeight - statusHeight - 3 * s.tpy;
    plan.total = plan.bottom - dirTop - 5 * s.tpy;
    plan.width = innerWidth - scrollBarWidth - 8 * s.tpx;
    plan.height = share * plan.total / 100;
    return plan;
}

QRect PlanFileGrid(const FolderGridPlan& plan, int dirLeft, int dirTop, int fittedDirHeight,
                   int fileTitleHeight, ScreenScale s) {
    const int height = plan.total - fittedDirHeight - 16 * s.tpy;
    const int top = dirTop + fittedDirHeight + fileTitleHeight + 4 * s.tpy;
    return QRect(dirLeft, top, plan.width, height);
}

QRect PlanStatusLine(int innerWidth, int bottom, int statusHeight, ScreenScale s) {
    return QRect(kStatusLineLeft, bottom, innerWidth - 4 * s.tpx - kStatusLineLeft, statusHeight);
}

QRect PlanFolderLabel(int dirLeft, int bottom, int labelHeight, ScreenScale s) {
    return QRect(dirLeft, bottom, kStatusLineLeft - dirLeft - 8 * s.tpx, labelHeight);
}

bool InSplitterZone(int x, int y, const QRect& folderGrid, int fileTitleTop, ScreenScale s) {
    const int folderBottom = folderGrid.y() + folderGrid.height();
    return y >= folderBottom - 5 * s.tpy && y <= fileTitleTop + 5 * s.tpy && x >= folderGrid.x() &&
           x < folderGrid.x() + folderGrid.width();
}

int SplitterPercent(int dragY, int folderTitleTop, int innerHeight, int gridsAndHeaders,
                    ScreenScale s) {
    int height = dragY - folderTitleTop - 6 * s.tpy;
    height = std::min(height, innerHeight - kMinimumFileSpace);
    height = std::max(height, kMinimumFolderHeight);
    if (gridsAndHeaders <= 0) return 50;
    return static_cast<int>(std::lround(100.0 * height / gridsAndHeaders));
}

bool LayoutCatalogWindow(const CatalogWindowParts& parts, CatalogLayoutState& state,
                         ScreenScale s) {
    QWidget& window = *parts.window;
    if (!state.gate.Admit(window.isMinimized())) return false;
    if (window.height() * s.tpy < kMinimumWindowHeight) {
        window.resize(window.width(), s.PixelsY(kMinimumWindowHeight));
        return false;
    }
    if (window.width() * s.tpx < kMinimumWindowWidth) {
        window.resize(s.PixelsX(kMinimumWindowWidth), window.height());
        return false;
    }
    state.windowPaintingSuspended = true;
    if (state.folderPercent == 0) state.folderPercent = 50;
    GridSurface& dir = *parts.folderGrid;
    const int dirLeft = dir.x() * s.tpx;
    const int dirTop = dir.y() * s.tpy;
    const FolderGridPlan plan = PlanFolderGrid(
        window.width() * s.tpx, window.height() * s.tpy, parts.statusLine->height() * s.tpy, dirTop,
        parts.folderScrollBar->width() * s.tpx, state.folderPercent, s);
    dir.setGeometry(dir.x(), dir.y(), s.PixelsX(plan.width), s.PixelsY(plan.height));
    LayoutHeaderBar(*parts.folderTitleBar);
    state.windowPaintingSuspended = false;
    FitSide(*parts.folderTitleBar);

    const QRect file = PlanFileGrid(plan, dirLeft, dirTop, dir.height() * s.tpy,
                                    parts.fileTitleBar->height() * s.tpy, s);
    parts.fileGrid->setGeometry(ToPixels(file, s));
    LayoutHeaderBar(*parts.fileTitleBar);
    FitSide(*parts.fileTitleBar);

    const QRect status =
        PlanStatusLine(window.width() * s.tpx, plan.bottom, parts.statusLine->height() * s.tpy, s);
    parts.statusLine->setGeometry(ToPixels(status, s));
    if (parts.folderLabel != nullptr) {
        parts.folderLabel->setGeometry(ToPixels(
            PlanFolderLabel(dirLeft, plan.bottom, parts.folderLabel->height() * s.tpy, s), s));
    }
    parts.fileGrid->show();
    parts.fileScrollBar->show();
    window.update();
    for (GridSurface* surface : {parts.folderGrid, parts.fileGrid}) {
        surface->SetPaintingSuspended(false);
        if (surface->State() != nullptr) surface->InvalidatePage(*surface->State());
    }
    state.laidOut = true;
    return true;
}

void PaintWindowEdge(QPainter& painter, int width) {
    painter.fillRect(0, 0, width, 1, Qt::black);
    painter.fillRect(0, 1, width, 1, Qt::white);
}

SplitterDrag::SplitterDrag(const CatalogWindowParts& parts, CatalogLayoutState& state,
                           ScreenScale scale, QObject* parent)
    : QObject(parent), parts_(parts), state_(state), scale_(scale) {
    parts_.window->setMouseTracking(true);
    parts_.window->installEventFilter(this);
}

bool SplitterDrag::InZone(QPoint px) const {
    const QRect dir = parts_.folderGrid->geometry();
    const QRect dirTw(dir.x() * scale_.tpx, dir.y() * scale_.tpy, dir.width() * scale_.tpx,
                      dir.height() * scale_.tpy);
    return InSplitterZone(px.x() * scale_.tpx, px.y() * scale_.tpy, dirTw,
                          parts_.fileTitleBar->y() * scale_.tpy, scale_);
}

bool SplitterDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parts_.window) return false;
    QWidget& window = *parts_.window;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (!InZone(e->position().toPoint())) return false;
            dragMode_ = 3;
            dragY_ = e->position().toPoint().y() * scale_.tpy;
            window.setCursor(Qt::SplitVCursor);
            return true;
        }
        case QEvent::MouseMove: {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (dragMode_ == 3 && e->buttons() != Qt::NoButton) {
                dragY_ = e->position().toPoint().y() * scale_.tpy;
            } else if (InZone(e->position().toPoint())) {
                window.setCursor(Qt::SplitVCursor);
            } else {
                window.unsetCursor();
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            window.unsetCursor();
            if (dragMode_ != 3) return false;
            dragMode_ = 0;
            const int heights = parts_.folderTitleBar->height() + parts_.folderGrid->height() +
                                parts_.fileTitleBar->height() + parts_.fileGrid->height();
            state_.folderPercent =
                SplitterPercent(dragY_, parts_.folderTitleBar->y() * scale_.tpy,
                                window.height() * scale_.tpy, heights * scale_.tpy, scale_);
            LayoutCatalogWindow(parts_, state_, scale_);
            if (dropped) dropped(state_.folderPercent);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace catalog::grid
