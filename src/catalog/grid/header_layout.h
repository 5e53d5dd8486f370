#pragma once

// Column layout of a header bar and the limits of a column border drag, as
// plain arithmetic. x is in header pixels; a header bar starts at its grid's
// left edge, so a column edge e is drawn on the header at e + 1 and on the
// grid (inside its border) at e - 1.

#include <array>
#include <vector>

#include "catalog/grid/grid_state.h"

namespace catalog::grid {

inline constexpr int kHeaderColumns = 3;
inline constexpr int kBorderGrip = 10;  // pixels either side of a border that start a drag
inline constexpr int kMinimumColumnWidth = 20;

struct HeaderLayout {
    int laidOut = 0;  // columns that start inside the header (get a title)
    std::array<int, kHeaderColumns> widths{};
    std::array<int, kHeaderColumns> edges{};
};

// Column 0 ends at width 0 - 2, column i at edge(i - 1) + width i - 1. Columns
// after the first one whose right passes the header are not laid out; when all
// three are, the last one is stretched to the grid's inner width.
HeaderLayout ComputeHeaderLayout(const std::array<int, kHeaderColumns>& widths,
                                 int headerInnerWidth, int gridInnerWidth);
void ApplyHeaderLayout(GridState& g, const HeaderLayout& layout);

enum class HeaderPressKind { None, SelectColumn, DragBorder };

struct HeaderPress {
    HeaderPressKind kind = HeaderPressKind::None;
    int column = 0;    // the column selected, or the column whose width the drag changes
    int dragMode = 0;  // 1 left border of the column under x, 2 its right border
    int minimum = 0;
    int maximum = 0;
};

// What a press at x on the header starts, given the edges of the side's grid.
HeaderPress PlanHeaderPress(const GridState& g, int x, int headerInnerWidth);
// Whether x is close enough to a border that can be dragged to show the split pointer.
bool NearDraggableBorder(const GridState& g, int x);
// The width a drag released with its line at dragX gives the dragged column.
inline int DraggedWidth(const GridState& g, int column, int dragX) {
    return dragX + 1 - Edge(g, column - 1);
}

}  // namespace catalog::grid
