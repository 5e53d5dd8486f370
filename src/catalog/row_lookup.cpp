#include "catalog/row_lookup.h"

#include <QStringList>

#include "catalog/grid/grid_engine.h"
#include "catalog/grid/grid_surface.h"
#include "catalog/row_record.h"
#include "util/text_case.h"

namespace kibako::catalog {
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
    const QString key = util::AsciiUpper(path);
    for (int r = 0; r < m.list.Count(); ++r) {
        if (m.list.Cell(r, kKeyColumn) == key) return RowLocation{r, ShownIndexOf(m, r)};
    }
    return std::nullopt;
}

int ShownIndexOf(const FolderModel& m, int fullRow) {
    for (size_t i = 0; i < m.rowMap.size(); ++i) {
        if (m.rowMap[i] == fullRow) return static_cast<int>(i);
    }
    return -1;
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
    QStringList names = AncestorNames(m, m.rowMap[static_cast<size_t>(shownRow)]);
    for (QString& name : names) name = util::CapitalizeWord(name.trimmed());
    return names.join(u'\\');
}

QString StoredPath(const FolderModel& m, int fullRow) {
    if (fullRow < 0 || fullRow >= m.list.Count()) return {};
    return AncestorNames(m, fullRow).join(u'\\');
}

}  // namespace kibako::catalog
