#pragma once

// Arithmetic of the catalog window's layout in twips (1/1440 inch) and the
// splitter between the folder grid and the file grid.

#include <QObject>
#include <QRect>
#include <functional>

#include "widgets/twips.h"

class QPainter;
class QScrollBar;
class QWidget;

namespace catalog::grid {

class GridSurface;
class HeaderBar;

inline constexpr int kMinimumWindowHeight = 4800;
inline constexpr int kMinimumWindowWidth = 7800;
inline constexpr int kMinimumFolderHeight = 1800;
inline constexpr int kMinimumFileSpace = 2800;
inline constexpr int kStatusLineLeft = 5100;

using widgets::ScreenScale;
using widgets::ScreenScaleOf;

// The resize rules before any layout: the window is still being set up, is
// minimised, or is being restored from the minimised state.
class ResizeGate {
  public:
    bool settingUp = true;
    // True when a resize should lay the window out.
    bool Admit(bool minimised);

  private:
    bool minimisedMark_ = false;
};

struct FolderGridPlan {
    int width = 0;   // twips
    int height = 0;  // twips, before FitGrid shrinks it to whole rows
    int total = 0;   // height for both grids and the file header
    int bottom = 0;  // top of the status line
};
// folderPercent 0 counts as 50.
FolderGridPlan PlanFolderGrid(int innerWidth, int innerHeight, int statusHeight, int dirTop,
                              int scrollBarWidth, int folderPercent, ScreenScale s);
// The file grid (FILGRD) below the fitted folder grid and the file title bar.
QRect PlanFileGrid(const FolderGridPlan& plan, int dirLeft, int dirTop, int fittedDirHeight,
                   int fileTitleHeight, ScreenScale s);
// Along the bottom: the status line (CONSOL) from kStatusLineLeft to the
// right edge, and the folder label (DIRDSP) from the grids' left edge up to it.
QRect PlanStatusLine(int innerWidth, int bottom, int statusHeight, ScreenScale s);
QRect PlanFolderLabel(int dirLeft, int bottom, int labelHeight, ScreenScale s);

// The band between the folder grid and the file header that starts a
// splitter drag, across the folder grid's width (twips).
bool InSplitterZone(int x, int y, const QRect& folderGrid, int fileTitleTop, ScreenScale s);
// The folder share a splitter released at dragY stores: the folder height
// drag y - the folder title bar's top - 6 px, kept at least 1800 twips and leaving 2800 below.
int SplitterPercent(int dragY, int folderTitleTop, int innerHeight, int gridsAndHeaders,
                    ScreenScale s);

// The parts of the catalog window the layout moves; nothing is owned.
struct CatalogWindowParts {
    QWidget* window = nullptr;
    GridSurface* folderGrid = nullptr;      // DIRGRD
    HeaderBar* folderTitleBar = nullptr;    // ITMBAR
    QScrollBar* folderScrollBar = nullptr;  // SCRDIR
    GridSurface* fileGrid = nullptr;        // FILGRD
    HeaderBar* fileTitleBar = nullptr;      // ITFBAR
    QScrollBar* fileScrollBar = nullptr;    // SCRFIL
    QWidget* statusLine = nullptr;          // CONSOL
    QWidget* folderLabel = nullptr;         // DIRDSP
};

struct CatalogLayoutState {
    ResizeGate gate;
    int folderPercent = 60;
    bool windowPaintingSuspended = false;
    bool laidOut = false;
};

// The catalog window's resize handler: minimum size, folder share, both
// header bars, both grids fitted to whole rows with their scroll bars beside
// them, the status line and the folder label. Returns false when it did not
// lay out (setting up, minimise rule, or the window was enlarged to its
// minimum, which resizes again).
bool LayoutCatalogWindow(const CatalogWindowParts& parts, CatalogLayoutState& state,
                         ScreenScale scale);

// The edge under the menu bar: black at y 0, white at y 1.
void PaintWindowEdge(QPainter& painter, int width);

// Splitter drag on the catalog window: installed as an event filter on the
// window, it watches presses in the band between the grids, shows the split
// pointer and, on release, stores the new share in the layout state and calls
// `dropped` with it (the window lays itself out again and later writes
// FolderPercent).
class SplitterDrag : public QObject {
    Q_OBJECT
  public:
    SplitterDrag(const CatalogWindowParts& parts, CatalogLayoutState& state, ScreenScale scale,
                 QObject* parent = nullptr);
    std::function<void(int folderPercent)> dropped;
    int DragMode() const { return dragMode_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool InZone(QPoint pixels) const;

    CatalogWindowParts parts_;
    CatalogLayoutState& state_;
    ScreenScale scale_;
    int dragMode_ = 0;
    int dragY_ = 0;  // twips
};

}  // namespace catalog::grid
