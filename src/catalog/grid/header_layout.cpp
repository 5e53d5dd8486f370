#include "catalog/grid/header_layout.h"

#include <algorithm>

#include "catalog/grid/grid_geometry.h"

namespace catalog::grid {

HeaderLayout ComputeHeaderLayout(const std::array<int, kHeaderColumns>& widths,
                                 int headerInnerWidth, int gridInnerWidth) {
    HeaderLayout layout;
    layout.widths = widths;
    layout.edges[0] = widths[0] - 2;
    layout.laidOut = 1;
    bool passed = false;
    for (int i = 1; i < kHeaderColumns; ++i) {
        const int right = layout.edges[static_cast<size_t>(i - 1)] + widths[static_cast<size_t>(i)];
        // Columns beyond the header still get edges so that hit tests and
        // ruled lines never see a stale one; they are simply off the surface.
        layout.edges[static_cast<size_t>(i)] = right - 1;
        if (!passed) ++layout.laidOut;
        if (right > headerInnerWidth) passed = true;
    }
    if (layout.laidOut == kHeaderColumns) {
        layout.widths[2] = gridInnerWidth - layout.edges[1];
        layout.edges[2] = gridInnerWidth - 1;
    }
    return layout;
}

void ApplyHeaderLayout(GridState& g, const HeaderLayout& layout) {
    for (int i = 0; i < kHeaderColumns; ++i) {
        g.columnWidths[static_cast<size_t>(i)] = layout.widths[static_cast<size_t>(i)];
        SetEdge(g, i, layout.edges[static_cast<size_t>(i)]);
    }
    ComputeTextRects(g);
}

HeaderPress PlanHeaderPress(const GridState& g, int x, int headerInnerWidth) {
    HeaderPress press;
    const int i = ColumnAtX(g, x);
    if (i >= g.columnCount) return press;
    const int left = Edge(g, i - 1);
    const int right = Edge(g, i);
    if (x <= right - kBorderGrip && x >= left + kBorderGrip) {
        press.kind = HeaderPressKind::SelectColumn;
        press.column = i;
        return press;
    }
    if (x >= left + kBorderGrip) {
        if (i == g.columnCount - 1) return press;
        press.dragMode = 2;
        press.column = i;
        press.minimum = left + kMinimumColumnWidth;
        press.maximum = right + g.columnWidths[static_cast<size_t>(i + 1)] - kMinimumColumnWidth;
    } else {
        if (i < 1) return press;
        press.dragMode = 1;
        press.column = i - 1;
        press.minimum = Edge(g, i - 2) + kMinimumColumnWidth;
        press.maximum = left + g.columnWidths[static_cast<size_t>(i)] - kMinimumColumnWidth;
    }
    press.maximum = std::min(press.maximum, headerInnerWidth);
    press.kind = HeaderPressKind::DragBorder;
    return press;
}

bool NearDraggableBorder(const GridState& g, int x) {
    for (int c = 0; c < g.columnCount - 1; ++c) {
        if (std::abs(x - Edge(g, c)) <= kBorderGrip) return true;
    }
    return false;
}

}  // namespace catalog::grid
