#include "catalog/commands/registration_editor.h"

#include <QLabel>

#include "catalog/forms/entry_form.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/model/apply_registration.h"
#include "catalog/window/busy_cursor.h"
#include "catalog/window/list_form.h"
#include "dialogs/message_box.h"
#include "engine/backup_run.h"
#include "util/path_names.h"
#include "widgets/beep.h"
#include "widgets/dialog_placement.h"
#include "widgets/window_frame.h"

namespace catalog {
namespace {

const QString kUpdatingText = QStringLiteral(" カタログ更新中 … しばらくお待ち下さい");

store::SubFolders SubFoldersFor(const RegistrationValues& values) {
    if (!values.subFolders) return store::SubFolders::None;
    return util::ExtensionOf(values.destination).isEmpty() ? store::SubFolders::EachAsEntry
                                                           : store::SubFolders::InOneArchive;
}

}  // namespace

RegistrationEditor::RegistrationEditor(ListForm& form) : form_(form) {}

RegistrationEditor::~RegistrationEditor() { Close(); }

EntryForm& RegistrationEditor::Dialog() {
    if (!dialog_) {
        // No parent: the catalog window is disabled while the dialog is open,
        // and a child window would be disabled with it.
        dialog_ = std::make_unique<EntryForm>();
        dialog_->saveNow = [this] { SaveNow(); };
    }
    return *dialog_;
}

void RegistrationEditor::Close() {
    if (dialog_ && dialog_->isVisible()) dialog_->Cancel();
}

// The dialog's left edge at the folder grid's first column boundary, its top
// at the file grid's title bar.
void RegistrationEditor::PlaceBesideColumns(EntryForm& dialog) {
    dialog.adjustSize();
    const grid::GridSurface* folderGrid = form_.FolderGrid();
    const QWidget* fileTitles = form_.findChild<QWidget*>(QStringLiteral("ITFBAR"));
    if (folderGrid == nullptr || fileTitles == nullptr) {
        widgets::PlaceDialog(dialog, &form_, widgets::Placement::Centred);
        return;
    }
    const int left = folderGrid->mapToGlobal(QPoint(form_.CurrentRows().grid.edges[1], 0)).x();
    const int top = fileTitles->mapToGlobal(QPoint(0, 0)).y();
    widgets::MoveOuterTo(&dialog, QPoint(left, top), &form_);
}

void RegistrationEditor::Edit() {
    CatalogModel& model = form_.Model();
    FolderModel& rows = model.CurrentRows();
    const int current = rows.grid.currentRow;
    // The header row of a registration view names no folder.
    if (rows.grid.rowCount == 0 || (model.View() != kDriveView && current == 0)) {
        widgets::Beep();
        return;
    }
    RegistrationValues values;
    values.source = model.RowPath(current);
    store::BackupTime lastBackup;
    store::DefinitionList& list = model.Definitions();
    if (current != 0) {
        if (const std::optional<store::BackupEntry> entry = list.EntryOf(values.source)) {
            values.destination = entry->destination;
            values.subFolders = entry->IncludesSubFolders();
            values.lock = entry->locked;
            values.deleteMissing = entry->deleteMissing;
            // An entry whose time field is missing gets the blanks of never.
            if (!entry->lastBackup.Text().isEmpty()) lastBackup = entry->lastBackup;
        }
    }
    EntryForm& dialog = Dialog();
    dialog.SetEngine(&form_.Engine());
    dialog.SetSettings(&form_.Settings(), form_.WinMeCaution());
    dialog.SetBrowseFolder(form_.BackupDir());
    PlaceBesideColumns(dialog);
    const EntryForm::Outcome outcome = dialog.Inp(&form_, values);
    form_.SetBackupDir(dialog.BrowseFolder());
    if (outcome != EntryForm::Outcome::Registered) return;

    {
        const BusyCursor busy;
        form_.StatusLine()->setText(kUpdatingText);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        form_.setEnabled(false);
        store::BackupEntry entry;
        entry.sourceFolder = values.source;
        entry.destination = values.destination;
        entry.lastBackup = lastBackup;
        entry.subFolders = SubFoldersFor(values);
        entry.locked = values.lock;
        entry.deleteMissing = values.deleteMissing;
        const RegistrationStored stored = ApplyRegistration(model, entry);
        if (stored.refusal) dialogs::ShowMessage(&form_, *stored.refusal);
        if (stored.rebuildView) {
            form_.SwitchView(model.View());
            form_.ShowRowOf(values.source, current);
        }
        list.SetModified(true);
        form_.setEnabled(true);
        form_.StatusLine()->clear();
    }
    form_.FocusActiveGrid();
}

void RegistrationEditor::SaveNow() {
    EntryForm& dialog = Dialog();
    if (!form_.BeginRun()) return;
    engine::BackupNowRequest request;
    request.source = dialog.Source();
    request.destination = dialog.ChosenDestination();
    request.option = dialog.SelectedOption();
    request.withSubFolders = dialog.SubFoldersChecked();
    request.deleteMissing = dialog.DeleteMissingChecked();
    dialog.setEnabled(false);
    CatalogModel& model = form_.Model();
    const engine::BackupNowResult result =
        engine::BackupEntryNow(form_.Engine(), model.Definitions(), request);
    dialog.setEnabled(true);
    if (!form_.EndRun()) {
        // The catalog window closed meanwhile.
        dialog.Cancel();
        return;
    }
    dialog.show();
    if (!result.succeeded) return;
    dialogs::ShowMessage(&dialog, engine::BackupNowMessage(result.resultText));
    if (!result.registered) return;
    model.ChgDate(request.source, result.newTime.Text());
    model.Definitions().SetModified(true);
}

}  // namespace catalog
