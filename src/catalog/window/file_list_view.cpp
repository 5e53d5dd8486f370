// The file grid FILGRD of the catalog window: which path the folder grid's
// current row stands for, and listing it with its label and count line.
#include <QLabel>
#include <QScrollBar>

#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/rows/file_list.h"
#include "catalog/window/busy_cursor.h"
#include "catalog/window/list_form.h"

namespace catalog {
namespace {

constexpr int kSourceColumn = 1;  // F1 of a destination-view row: the source folder

}  // namespace

QString ListForm::FileListPath() {
    const grid::GridState& g = CurrentRows().grid;
    if (model_.View() == kDestinationView && g.currentColumn != 0)
        return grid::CellText(g, kSourceColumn, g.currentRow);
    return RowPath(g.currentRow);
}

void ListForm::ListFiles() {
    const QString path = FileListPath();
    if (path == listedFolder_) return;
    listedFolder_ = path;
    folderLabel_->setText(path + u' ');
    FileListing listing;
    {
        BusyCursor busy;
        listing = ReadFileList(path);
    }
    const int count = listing.Count();
    const qint64 totalBytes = listing.totalBytes;
    PutFileRows(fileRows_, std::move(listing));
    grid::ResetGrid(*fileGrid_, fileRows_, fileScrollBar_, 0);
    statusLine_->clear();
    if (activeGrid_ != grid::kFileGridActive) {
        statusLine_->setText(FileCountLine(count, totalBytes));
        // A registration whose last run failed says why instead.
        if (const auto reason = model_.FailedRunOf(CurrentRows().grid.currentRow))
            statusLine_->setText(FailedRunLine(*reason));
    }
}

void ListForm::ReadRunStatus() {
    model_.LoadFailedRuns(programFolder_);
    ShowRunStatus();
}

void ListForm::ShowRunStatus() {
    folderGrid_->update();
    const grid::GridState& g = CurrentRows().grid;
    if (g.rowCount == 0 || activeGrid_ == grid::kFileGridActive) return;
    if (const auto reason = model_.FailedRunOf(g.currentRow))
        statusLine_->setText(FailedRunLine(*reason));
}

}  // namespace catalog
