// Presses, moves and keys on the folder grid DIRGRD: the tree area opens and
// closes rows, other presses select, column 1 opens the registration.
#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_geometry.h"
#include "catalog/grid/grid_input.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/window/list_form.h"
#include "widgets/beep.h"

namespace catalog {

void ListForm::OnFolderMouseDown(int button, int shift, QPoint pos) {
    SetActiveGrid(grid::kFolderGridActive);
    grid::GridState& g = CurrentRows().grid;
    const int row = grid::RowAtY(g, pos.y());
    if (row >= g.rowCount) {
        widgets::Beep();
        return;
    }
    const bool inTreeArea = pos.x() < grid::RowIndent(g, row);
    const bool all = (shift & grid::kShiftBit) != 0;
    if (model_.View() == kDriveView) {
        if (button != grid::kLeftButton) return;
        if (inTreeArea && (grid::TreeFlags(g, row) & grid::kTreeHasChildren) != 0) {
            treeClick_ = true;
            ToggleRow(row, all);
            return;
        }
    } else {
        const int indent = grid::RowIndent(g, row);
        const bool onIcon = pos.x() >= indent && pos.x() <= indent + g.iconWidth[0];
        if (button != grid::kLeftButton && onIcon) return;
        if (button == grid::kLeftButton && inTreeArea) ToggleRow(row, all);
    }
    const grid::GridClickResult click =
        grid::GridClick(*folderGrid_, g, grid::kLeftButton, shift, pos.x(), pos.y());
    if (click.cursorMoved) {
        grid::RedrawCursor(*folderGrid_, g);
        ListFiles();
    }
    if (g.currentColumn == 1 && model_.View() != kDestinationView) EditRegistration();
}

void ListForm::OnFolderMouseMove(int buttons, QPoint pos) {
    grid::GridState& g = CurrentRows().grid;
    if (model_.View() == kDriveView && g.rowCount > 0 && !treeClick_ &&
        (buttons & grid::kLeftButton) != 0) {
        if (grid::RowAtY(g, pos.y()) != g.currentRow)
            grid::GridDrag(*folderGrid_, g, folderScrollBar_, grid::kLeftButton, pos.x(), pos.y());
        return;
    }
    folderGrid_->unsetCursor();
}

void ListForm::OnFolderKey(int key, bool handled) {
    // Left and Right move the cursor to another column without consuming the
    // key; in the destination view that cell stands for another folder.
    if (handled || key == grid::vk::kLeft || key == grid::vk::kRight) ListFiles();
    if (key == grid::vk::kEnter) EditRegistration();
}

}  // namespace catalog
