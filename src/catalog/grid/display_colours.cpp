#include "catalog/grid/display_colours.h"

#include <algorithm>

namespace catalog::grid {

DisplayColours DefaultDisplayColours(bool lowColour) {
    DisplayColours c;
    if (lowColour) {
        c.titleFore = 0xFFFFFF;
        c.titleBack = 0x808080;
    }
    return c;
}

void ApplyColoursToState(GridState& g, const DisplayColours& colours, int vLineFlag, int hLineFlag,
                         int interleave, int nameCase, bool fileRows) {
    g.vLineColour = colours.vLine;
    g.hLineColour = colours.hLine;
    g.vLineWidth = vLineFlag & 1;
    g.hLineWidth = hLineFlag & 1;
    g.interleave = interleave;
    g.cursorShown = true;
    g.cursorBack = colours.selBack;
    g.cursorText = colours.selFore;
    g.cursorFrame = true;
    g.markBack = colours.selBack;
    g.markText = colours.selFore;
    g.markMask = -1;
    g.nameCase[0] = nameCase;
    g.nameCase[1] = 0;
    if (fileRows) {
        g.alignment[1] = Align::Right;
        g.alignment[2] = Align::Right;
    }
}

void BuildIconStrip(IconStrip& strip, GridState& driveRows,
                    const std::vector<GridState*>& folderStates,
                    const std::vector<GridState*>& allStates, const GridState& fileRows) {
    const int size = std::max(driveRows.rowHeight - fileRows.hLineWidth - 1, 1);
    strip = IconStrip::Build(size);
    for (GridState* g : allStates) {
        g->iconWidth[0] = size;
        g->iconHeight[0] = size;
        g->iconStrip = &strip;
    }
    for (GridState* g : folderStates) g->indentStep = size + 2;
}

}  // namespace catalog::grid
