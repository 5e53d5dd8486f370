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

namespace kibako::grid {

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

FolderGridPlan PlanFolderGrid(int innerWidth, int innerHeight, int consolHeight, int dirTop,
                              int scrollBarWidth, int folderPercent, ScreenScale s) {
    FolderGridPlan plan;
    const int share = folderPercent == 0 ? 50 : folderPercent;
    plan.bottom = innerHeight - consolHeight - 3 * s.tpy;
    plan.total = plan.bottom - dirTop - 5 * s.tpy;
    plan.width = innerWidth - scrollBarWidth - 8 * s.tpx;
    plan.height = share * plan.total / 100;
    return plan;
}

QRect PlanFileGrid(const FolderGridPlan& plan, int dirLeft, int dirTop, int fittedDirHeight,
                   int itfbarHeight, ScreenScale s) {
    const int height = plan.total - fittedDirHeight - 16 * s.tpy;
    const int top = dirTop + fittedDirHeight + itfbarHeight + 4 * s.tpy;
    return QRect(dirLeft, top, plan.width, height);
}

QRect PlanConsol(int innerWidth, int bottom, int consolHeight, ScreenScale s) {
    return QRect(kConsolLeft, bottom, innerWidth - 4 * s.tpx - kConsolLeft, consolHeight);
}

QRect PlanDirDsp(int dirLeft, int bottom, int dirdspHeight, ScreenScale s) {
    return QRect(dirLeft, bottom, kConsolLeft - dirLeft - 8 * s.tpx, dirdspHeight);
}

bool InSplitterZone(int x, int y, const QRect& dirgrd, int itfbarTop, ScreenScale s) {
    const int dirBottom = dirgrd.y() + dirgrd.height();
    return y >= dirBottom - 5 * s.tpy && y <= itfbarTop + 5 * s.tpy && x >= dirgrd.x() &&
           x < dirgrd.x() + dirgrd.width();
}

int SplitterPercent(int dragY, int itmbarTop, int innerHeight, int gridsAndHeaders, ScreenScale s) {
    int height = dragY - itmbarTop - 6 * s.tpy;
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
    GridSurface& dir = *parts.dirgrd;
    const int dirLeft = dir.x() * s.tpx;
    const int dirTop = dir.y() * s.tpy;
    const FolderGridPlan plan = PlanFolderGrid(
        window.width() * s.tpx, window.height() * s.tpy, parts.consol->height() * s.tpy, dirTop,
        parts.scrdir->width() * s.tpx, state.folderPercent, s);
    dir.setGeometry(dir.x(), dir.y(), s.PixelsX(plan.width), s.PixelsY(plan.height));
    LayoutHeaderBar(*parts.itmbar);
    state.windowPaintingSuspended = false;
    FitSide(*parts.itmbar);

    const QRect file = PlanFileGrid(plan, dirLeft, dirTop, dir.height() * s.tpy,
                                    parts.itfbar->height() * s.tpy, s);
    parts.filgrd->setGeometry(ToPixels(file, s));
    LayoutHeaderBar(*parts.itfbar);
    FitSide(*parts.itfbar);

    const QRect consol =
        PlanConsol(window.width() * s.tpx, plan.bottom, parts.consol->height() * s.tpy, s);
    parts.consol->setGeometry(ToPixels(consol, s));
    if (parts.dirdsp != nullptr) {
        parts.dirdsp->setGeometry(
            ToPixels(PlanDirDsp(dirLeft, plan.bottom, parts.dirdsp->height() * s.tpy, s), s));
    }
    parts.filgrd->show();
    parts.scrfil->show();
    window.update();
    for (GridSurface* surface : {parts.dirgrd, parts.filgrd}) {
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
    const QRect dir = parts_.dirgrd->geometry();
    const QRect dirTw(dir.x() * scale_.tpx, dir.y() * scale_.tpy, dir.width() * scale_.tpx,
                      dir.height() * scale_.tpy);
    return InSplitterZone(px.x() * scale_.tpx, px.y() * scale_.tpy, dirTw,
                          parts_.itfbar->y() * scale_.tpy, scale_);
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
            const int heights = parts_.itmbar->height() + parts_.dirgrd->height() +
                                parts_.itfbar->height() + parts_.filgrd->height();
            state_.folderPercent =
                SplitterPercent(dragY_, parts_.itmbar->y() * scale_.tpy,
                                window.height() * scale_.tpy, heights * scale_.tpy, scale_);
            LayoutCatalogWindow(parts_, state_, scale_);
            if (dropped) dropped(state_.folderPercent);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace kibako::grid
