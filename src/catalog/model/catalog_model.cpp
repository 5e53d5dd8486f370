#include "catalog/model/catalog_model.h"

#include "catalog/grid/grid_state.h"

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
