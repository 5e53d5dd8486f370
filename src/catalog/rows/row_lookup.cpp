#include "catalog/rows/row_lookup.h"

#include <QStringList>

#include <algorithm>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/rows/row_record.h"
#include "util/text_case.h"

namespace catalog {
namespace {

// NAMEs of the row and its ancestors, the row's own last.
QStringList AncestorNames(const FolderModel& m, int fullRow) {
    QStringList names;
    names.prepend(m.list.Cell(fullRow, 0).toString());
    const auto isDrive = [&m](int r) {
        return m.list.Icon(r) >= kIconCdRom && m.list.Icon(r) <= kIconDrive;
    };
    int level = m.list.Level(fullRow);
    for (int r = fullRow - 1; r >= 0 && level > 1 && !isDrive(fullRow); --r) {
        if (m.list.Level(r) != level - 1 || m.list.Icon(r) == kIconHeader) continue;
        names.prepend(m.list.Cell(r, 0).toString());
        level = m.list.Level(r);
        if (isDrive(r)) break;
    }
    return names;
}

}  // namespace

std::optional<RowLocation> FindRowByKey(const FolderModel& m, const QString& path) {
    int row = m.list.RowOfKey(RowKey(path));
    if (row < 0) row = m.list.RowOfFoldedKey(util::AsciiUpper(RowKey(path)));
    if (row < 0) return std::nullopt;
    return RowLocation{row, ShownIndexOf(m, row)};
}

int ShownIndexOf(const FolderModel& m, int fullRow) {
    // The shown rows keep the order of the full list.
    const auto it = std::lower_bound(m.rowMap.begin(), m.rowMap.end(), fullRow);
    if (it == m.rowMap.end() || *it != fullRow) return -1;
    return static_cast<int>(it - m.rowMap.begin());
}

bool SetRowCell(FolderModel& m, grid::GridSurface* surface, int fullRow, int column,
                QStringView text) {
    if (!m.list.SetCell(fullRow, column, text)) return false;
    const int shown = ShownIndexOf(m, fullRow);
    if (shown < 0) return true;
    if (surface != nullptr) return grid::SetCellText(*surface, m.grid, column, shown, text);
    return grid::ReplaceCellText(m.grid, column, shown, text);
}

QString RowPath(const FolderModel& m, int shownRow) {
    if (shownRow < 0 || shownRow >= static_cast<int>(m.rowMap.size())) return {};
    const int fullRow = m.rowMap[static_cast<size_t>(shownRow)];
    // A row that knows its folder's exact path reaches that folder: names
    // shown trimmed or capitalised may belong to another one (on Linux
    // "Photos" and "photos", " a " and "a" are different folders).
    const QStringView key = m.list.Cell(fullRow, kKeyColumn);
    if (!key.isEmpty()) return PathOfRowKey(key.toString());
    QStringList names = AncestorNames(m, fullRow);
    for (QString& name : names) name = util::CapitalizeWord(name.trimmed());
    return names.join(u'\\');
}

QString StoredPath(const FolderModel& m, int fullRow) {
    if (fullRow < 0 || fullRow >= m.list.Count()) return {};
    const QStringView key = m.list.Cell(fullRow, kKeyColumn);
    if (!key.isEmpty()) return PathOfRowKey(key.toString());
    return AncestorNames(m, fullRow).join(u'\\');
}

}  // namespace catalog
