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
#include "dialogs/input_dialog.h"
#include "dialogs/message_box.h"
#include "widgets/beep.h"

namespace catalog {
namespace {

// The check's questions in the window's message box and the input dialog.
class WindowCheckQuestions final : public CheckQuestions {
  public:
    explicit WindowCheckQuestions(ListForm& form) : form_(form) {}
    util::Answer Ask(const widgets::BoxMessage& message) override {
        return dialogs::ShowMessage(&form_, message);
    }
    std::optional<QString> AskText(const QString& prompt, const QString& title,
                                   const QString& text) override {
        return dialogs::InputDialog(nullptr, prompt, title, text);
    }
    void Beep() override { widgets::Beep(); }

  private:
    ListForm& form_;
};

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
    switch (catalog::DeleteRegistration(model_)) {
        case Deletion::Deleted:
            break;
        case Deletion::NoRegistration:
            widgets::Beep();
            break;
        case Deletion::NotInDestinationView:
            dialogs::ShowMessage(this, kNoEditingInDestinationViewText);
            break;
    }
    FocusActiveGrid();
}

void ListForm::CheckRegistrations() {
    if (!BeginRun()) return;
    WindowCheckQuestions questions(*this);
    catalog::CheckRegistrations(model_, questions, *settings_, programFolder_);
    if (EndRun()) FocusActiveGrid();
}

void ListForm::RowsReplaced() {
    RepaintFolderGrid();
    ListFiles();
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
