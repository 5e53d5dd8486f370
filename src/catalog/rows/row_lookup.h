#pragma once

#include <QString>
#include <QStringView>

#include <optional>

#include "catalog/rows/folder_model.h"

namespace catalog::grid {
class GridSurface;
}

namespace catalog {

struct RowLocation {
    int fullRow = -1;
    int shownRow = -1;  // -1 when the row is not shown
};

// The row whose KEY is `path`, else the first whose KEY differs from it in
// ASCII case only, with its position in the full list and, when shown, in
// the grid.
std::optional<RowLocation> FindRowByKey(const FolderModel& m, const QString& path);

// The shown index of a full-list row, or -1.
int ShownIndexOf(const FolderModel& m, int fullRow);

// Sets cell `column` of a full-list row and, when the row is shown, of the
// grid, which draws the cell again (when `surface` shows this model).
bool SetRowCell(FolderModel& m, grid::GridSurface* surface, int fullRow, int column,
                QStringView text);

// The path of a shown row: its KEY, the exact path of its folder. A row
// without one has its path rebuilt from the NAME of the row and its
// ancestors (the nearest earlier row one level up; the header row of the
// registration views is passed over; a folder registered with its whole tree
// is an ancestor like any other), each NAME trimmed and written with
// CapitalizeWord, joined with "\". Empty for a row out of range.
QString RowPath(const FolderModel& m, int shownRow);

// The same path of a full-list row: its KEY, else the NAMEs as stored.
QString StoredPath(const FolderModel& m, int fullRow);

}  // namespace catalog
