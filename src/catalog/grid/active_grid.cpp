#include "catalog/grid/active_grid.h"

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"

namespace catalog::grid {

namespace {

void ColourSide(GridSide& side, ColourRef cursorBack) {
    for (GridState* g : side.states) g->cursorBack = cursorBack;
    if (side.surface != nullptr && side.surface->State() != nullptr) {
        RedrawCursor(*side.surface, *side.surface->State());
    }
}

}  // namespace

void ApplyActiveGrid(int active, GridSide& folder, GridSide& file,
                     const CursorColourSettings& colours) {
    const ColourRef inactive = InactiveCursorColour(colours.selFore, colours.lowColour);
    const bool folderActive = active == kFolderGridActive;
    ColourSide(folder, folderActive ? colours.selBack : inactive);
    ColourSide(file, folderActive ? inactive : colours.selBack);
}

bool SetActiveGrid(int& active, int next, GridSide& folder, GridSide& file,
                   const CursorColourSettings& colours) {
    if (active == next) return false;
    active = next;
    ApplyActiveGrid(active, folder, file, colours);
    return true;
}

}  // namespace catalog::grid
