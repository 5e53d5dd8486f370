#pragma once

#include <QScrollBar>
#include <QString>
#include <array>
#include <vector>

#include "catalog/grid/header_layout.h"

namespace catalog::grid {

class GridSurface;
struct GridState;

// One side of the catalog window: the folder side (DIRGRD, SCRDIR, the drive
// rows and registration rows, DirColWidth*) or the file side (FILGRD, SCRFIL,
// the file rows, FileColWidth*). Nothing is owned; the catalog window keeps
// everything alive. states[0] supplies the edges for hit tests on the header.
struct GridSide {
    GridSurface* surface = nullptr;
    QScrollBar* bar = nullptr;
    std::vector<GridState*> states;
    std::array<int, kHeaderColumns> widths{};  // as stored in the settings
    std::array<QString, kHeaderColumns> titles;
};

}  // namespace catalog::grid
