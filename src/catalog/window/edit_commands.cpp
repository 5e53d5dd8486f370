// The catalog window's commands that change registrations: edit, delete and
// the check of the registered folders.
#include <QScrollBar>

#include <vector>

#include "catalog/commands/check_registrations.h"
#include "catalog/commands/delete_registration.h"
#include "catalog/commands/registration_editor.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/window/list_form.h"

namespace catalog {
namespace {

// The full-list rows above `fullRow` that hold it in their subtree, outermost first.
std::vector<int> AncestorRows(const FullList& rows, int fullRow) {
    std::vector<int> ancestors;
    for (int r = ParentRow(rows, fullRow); r >= 0; r = ParentRow(rows, r))
        ancestors.insert(ancestors.begin(), r);
    return ancestors;
}

}  // namespace

void ListForm::EditRegistration() { registration_->Edit(); }

void ListForm::DeleteRegistration() {
    catalog::DeleteRegistration(*this);
    FocusActiveGrid();
}

void ListForm::CheckRegistrations() {
    if (!BeginRun()) return;
    catalog::CheckRegistrations(*this);
    if (EndRun()) FocusActiveGrid();
}

void ListForm::DefinitionsReplaced() {
    driveDepth_ = 0;
    MarkDriveRebuild();
    SwitchView(kSettingsView);
}

void ListForm::ShowRowOf(const QString& path, int fallbackRow) {
    FolderModel& m = CurrentRows();
    int row = fallbackRow;
    if (const auto found = FindRow(path)) {
        for (int ancestor : AncestorRows(m.list, found->fullRow)) {
            const int shown = ShownIndexOf(m, ancestor);
            if (shown >= 0 && !IsExpanded(m, shown)) ExpandRow(m, shown, false, {});
        }
        row = ShownIndexOf(m, found->fullRow);
    }
    row = std::clamp(row, 0, std::max(m.grid.rowCount - 1, 0));
    if (folderGrid_->State() == &m.grid)
        grid::ResetGrid(*folderGrid_, m.grid, folderScrollBar_, row);
    ListFiles();
}

}  // namespace catalog
