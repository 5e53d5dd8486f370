#pragma once

#include "catalog/grid/colour.h"
#include "catalog/grid/grid_side.h"

namespace catalog::grid {

inline constexpr int kFolderGridActive = 0;
inline constexpr int kFileGridActive = -1;

struct CursorColourSettings {
    ColourRef selBack = kSystemHighlight;      // SelBackCol
    ColourRef selFore = kSystemHighlightText;  // SelForeCol
    bool lowColour = false;                    // at most 256 colours on the display
};

// Gives the focused side's states SelBackCol as cursor fill and the other
// side's the inactive cursor colour, and redraws both cursor cells.
void ApplyActiveGrid(int active, GridSide& folder, GridSide& file,
                     const CursorColourSettings& colours);
// ApplyActiveGrid when `next` differs from `active` (which it then becomes);
// false when nothing changed.
bool SetActiveGrid(int& active, int next, GridSide& folder, GridSide& file,
                   const CursorColourSettings& colours);

}  // namespace catalog::grid
