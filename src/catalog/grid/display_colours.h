#pragma once

#include <vector>

#include "catalog/grid/colour.h"
#include "catalog/grid/grid_state.h"
#include "catalog/grid/icon_strip.h"

namespace catalog::grid {

// The colour settings the grids use, with their defaults. TitleForeCol and
// TitleBackCol depend on the display: use DefaultDisplayColours.
struct DisplayColours {
    ColourRef listFore = 0x000000;             // ListForeCol
    ColourRef listBack = 0xFFFFFF;             // ListBackCol
    ColourRef selFore = kSystemHighlightText;  // SelForeCol
    ColourRef selBack = kSystemHighlight;      // SelBackCol
    ColourRef vLine = 0xB0B0B0;                // ListVLineCol
    ColourRef hLine = 0xA0A0A0;                // ListHLineCol
    ColourRef titleFore = 0xEBF0F5;            // TitleForeCol
    ColourRef titleBack = 0x8CAAA9;            // TitleBackCol
    ColourRef failedRun = 0x0000FF;            // FailedRunCol
};
DisplayColours DefaultDisplayColours(bool lowColour);

// ApplyDisplayColours' part for one grid state: line colours, ruled-line
// widths (flag AND 1), interleave, cursor and mark colours, name case of
// columns 0 and 1; file rows right-align columns 1 and 2.
void ApplyColoursToState(GridState& g, const DisplayColours& colours, int vLineFlag, int hLineFlag,
                         int interleave, int nameCase, bool fileRows);

// BuildIconStrip: icon size = drive rows' row height - file rows' horizontal
// line width - 1, stored in every state; the folder states' indent step
// becomes icon size + 2; every state points at `strip`, which must outlive them.
void BuildIconStrip(IconStrip& strip, GridState& driveRows,
                    const std::vector<GridState*>& folderStates,
                    const std::vector<GridState*>& allStates, const GridState& fileRows);

}  // namespace catalog::grid
