#include "catalog/model/catalog_model.h"

#include <utility>
#include <vector>

#include "catalog/grid/grid_state.h"
#include "engine/run_log.h"

namespace catalog {

std::optional<RowLocation> CatalogModel::FindRow(const QString& path) const {
    return FindRowByKey(view_ == kDriveView ? driveRows_ : registrationRows_, path);
}

bool CatalogModel::SetCell(int fullRow, int column, QStringView text) {
    FolderModel& rows = CurrentRows();
    if (!rows.list.SetCell(fullRow, column, text)) return false;
    const int shown = ShownIndexOf(rows, fullRow);
    if (shown < 0) return true;
    if (listener_ != nullptr) return listener_->ShownCellChanged(rows, shown, column, text);
    return grid::ReplaceCellText(rows.grid, column, shown, text);
}

QString CatalogModel::RowPath(int shownRow) { return catalog::RowPath(CurrentRows(), shownRow); }

void CatalogModel::ChgDate(const QString& source, const QString& time) {
    const auto row = FindRow(source);
    if (!row) return;
    SetCell(row->fullRow, 2, time);
    if (view_ != kDriveView) definitions_.SetModified(true);
}

void CatalogModel::ReplaceDefinitions(store::DefinitionList list, const QString& path) {
    definitionPath_ = path;
    definitions_ = std::move(list);
    if (listener_ != nullptr) listener_->DefinitionsReplaced();
}

void CatalogModel::RowsReplaced() {
    if (listener_ != nullptr) listener_->RowsReplaced();
}

void CatalogModel::LoadFailedRuns(const platform::DrivePath& programFolder) {
    const auto log = engine::RunLogHostPath(programFolder);
    failedRuns_ = FailedRuns::Of(definitions_.Entries(), log ? engine::ReadRunLogs(*log)
                                                             : std::vector<engine::RunLogRecord>());
}

std::optional<QString> CatalogModel::FailedRunOf(int shownRow) {
    FolderModel& rows = CurrentRows();
    if (failedRuns_.IsEmpty() || shownRow < 0 || shownRow >= rows.grid.rowCount)
        return std::nullopt;
    // The settings view's header row and path rows stand for no registration.
    if (view_ == kSettingsView &&
        rows.list.ColourSlot(rows.rowMap[static_cast<size_t>(shownRow)]) != kSlotRegistration)
        return std::nullopt;
    const std::optional<store::BackupEntry> entry = definitions_.EntryOf(RowPath(shownRow));
    if (!entry) return std::nullopt;
    return failedRuns_.ReasonOf(entry->sourceFolder);
}

bool CatalogModel::BeginRun() {
    if (running_) return false;
    running_ = true;
    return true;
}

bool CatalogModel::EndRun() {
    running_ = false;
    const bool closeRequested = closeAfterRun_;
    closeAfterRun_ = false;
    return closeRequested;
}

bool CatalogModel::DeferClose() {
    if (!running_) return false;
    closeAfterRun_ = true;
    return true;
}

}  // namespace catalog
