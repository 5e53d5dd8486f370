#include "catalog/rows/folder_model.h"

#include <algorithm>

namespace catalog {
namespace {

int ShownLevel(const FolderModel& m, int shownRow) {
    return m.list.Level(m.rowMap[static_cast<size_t>(shownRow)]);
}

int ColourSlotOf(const FolderModel& m, int fullRow) {
    if (!m.driveView) return m.list.ColourSlot(fullRow);
    return m.list.Icon(fullRow) < kIconMyDocuments ? (m.list.Level(fullRow) & 7) : 0;
}

bool IsDriveFolder(int icon) { return icon == kIconFolder || icon == kIconMyDocuments; }

// Keeps the cursor on the same full-list row where it is still shown.
void KeepCursor(FolderModel& m, int oldCurrent, int delta, int pivot) {
    grid::GridState& g = m.grid;
    int row = oldCurrent > pivot ? oldCurrent + delta : oldCurrent;
    if (delta < 0 && oldCurrent > pivot && oldCurrent <= pivot - delta) row = pivot;
    g.currentRow = std::clamp(row, 0, std::max(g.rowCount - 1, 0));
    g.topRow = std::clamp(g.topRow, 0, std::max(g.rowCount - 1, 0));
}

}  // namespace

bool HasChildren(const FolderModel& m, int fullRow) {
    if (m.driveView) {
        if (!IsDriveFolder(m.list.Icon(fullRow))) return false;
        if (m.list.Unread(fullRow)) return true;
    }
    const int next = fullRow + 1;
    return next < m.list.Count() && m.list.Level(next) > m.list.Level(fullRow);
}

int ParentRow(const FullList& rows, int fullRow) {
    for (int r = fullRow - 1; r >= 0; --r) {
        if (rows.Level(r) < rows.Level(fullRow)) return r;
    }
    return -1;
}

int IndentOf(int level, int indentStep) {
    return (std::max(level, 1) - 1) * indentStep + kIndentBase;
}

void RecomputeIndents(FolderModel& m) {
    grid::GridState& g = m.grid;
    const int count = std::min(g.rowCount, static_cast<int>(m.rowMap.size()));
    for (int r = 0; r < count; ++r) {
        const int full = m.rowMap[static_cast<size_t>(r)];
        g.indent[static_cast<size_t>(r)] = IndentOf(m.list.Level(full), m.indentStep);
    }
}

void ShowMappedRows(FolderModel& m) {
    grid::GridState& g = m.grid;
    const int count = static_cast<int>(m.rowMap.size());
    qsizetype chars = 0;
    for (int full : m.rowMap) chars += m.list.Record(full).size();
    QString rows;
    rows.reserve(chars + 4096);
    grid::ReserveRows(g, count + 256);
    g.iconCodes.fill(QChar(0));
    for (int r = 0; r < count; ++r) {
        const int full = m.rowMap[static_cast<size_t>(r)];
        const auto i = static_cast<size_t>(r);
        g.rowStarts[i] = static_cast<int>(rows.size());
        rows += m.list.Record(full);
        g.iconCodes[r] = QChar(m.list.Icon(full));
        g.indent[i] = IndentOf(m.list.Level(full), m.indentStep);
        g.colourSlot[i] = static_cast<std::uint8_t>(ColourSlotOf(m, full));
        g.rowMark[i] = 0;
    }
    g.rowStarts[static_cast<size_t>(count)] = static_cast<int>(rows.size());
    rows += QString(4096, QChar(grid::kEndOfRows));
    g.rows = std::move(rows);
    g.rowCount = count;
    g.markCount = 0;
    g.markSum = 0;
    g.anchorRow = 0;
    g.cursorDrawn = false;
    ComputeTreeFlags(m);
}

void ComputeTreeFlags(FolderModel& m) {
    grid::GridState& g = m.grid;
    const int count = g.rowCount;
    std::vector<int> lastAt(kMaxTreeLevel + 1, -1);
    std::vector<int> flags(static_cast<size_t>(count), 0);
    int previousLevel = 0;
    for (int r = 0; r < count; ++r) {
        const int full = m.rowMap[static_cast<size_t>(r)];
        if (HasChildren(m, full)) flags[static_cast<size_t>(r)] |= grid::kTreeHasChildren;
        const int level = std::clamp(m.list.Level(full), 0, kMaxTreeLevel);
        for (int l = level + 1; l <= previousLevel; ++l) {
            if (lastAt[static_cast<size_t>(l)] >= 0)
                flags[static_cast<size_t>(lastAt[static_cast<size_t>(l)])] |= grid::kTreeLastChild;
            lastAt[static_cast<size_t>(l)] = -1;
        }
        lastAt[static_cast<size_t>(level)] = r;
        previousLevel = level;
    }
    for (int l = 1; l <= kMaxTreeLevel; ++l) {
        const int r = lastAt[static_cast<size_t>(l)];
        if (r >= 0) flags[static_cast<size_t>(r)] |= grid::kTreeLastChild;
    }
    for (int r = 0; r < count; ++r) g.treeFlags[r] = QChar(flags[static_cast<size_t>(r)]);
}

bool IsExpanded(const FolderModel& m, int shownRow) {
    const int next = shownRow + 1;
    return next < static_cast<int>(m.rowMap.size()) &&
           ShownLevel(m, next) > ShownLevel(m, shownRow);
}

int CollapseRow(FolderModel& m, int shownRow) {
    if (shownRow < 0 || shownRow >= static_cast<int>(m.rowMap.size())) return 0;
    const int level = ShownLevel(m, shownRow);
    int end = shownRow + 1;
    while (end < static_cast<int>(m.rowMap.size()) && ShownLevel(m, end) > level) ++end;
    const int removed = end - shownRow - 1;
    if (removed == 0) return 0;
    const int oldCurrent = m.grid.currentRow;
    m.rowMap.erase(m.rowMap.begin() + shownRow + 1, m.rowMap.begin() + end);
    ShowMappedRows(m);
    KeepCursor(m, oldCurrent, -removed, shownRow);
    return removed;
}

int ExpandRow(FolderModel& m, int shownRow, bool all, const FolderReader& reader) {
    if (shownRow < 0 || shownRow >= static_cast<int>(m.rowMap.size())) return 0;
    const int full = m.rowMap[static_cast<size_t>(shownRow)];
    if (m.driveView && m.list.Unread(full) && reader) {
        const FullList children = reader(m, full);
        m.list.MarkRead(full);
        m.list.Insert(full + 1, children);
        for (int& mapped : m.rowMap) {
            if (mapped > full) mapped += children.Count();
        }
    }
    // Rows already shown below r are replaced by the wanted set.
    const int level = m.list.Level(full);
    int shownEnd = shownRow + 1;
    while (shownEnd < static_cast<int>(m.rowMap.size()) && ShownLevel(m, shownEnd) > level)
        ++shownEnd;
    std::vector<int> wanted;
    for (int f = full + 1; f < m.list.Count() && m.list.Level(f) > level; ++f) {
        if (all || m.list.Level(f) == level + 1) wanted.push_back(f);
    }
    const int added = static_cast<int>(wanted.size()) - (shownEnd - shownRow - 1);
    const int oldCurrent = m.grid.currentRow;
    m.rowMap.erase(m.rowMap.begin() + shownRow + 1, m.rowMap.begin() + shownEnd);
    m.rowMap.insert(m.rowMap.begin() + shownRow + 1, wanted.begin(), wanted.end());
    ShowMappedRows(m);
    KeepCursor(m, oldCurrent, added, shownRow);
    return added;
}

void RemoveFullRows(FolderModel& m, int fullRow, int count) {
    count = std::min(count, m.list.Count() - fullRow);
    if (fullRow < 0 || count <= 0) return;
    const int end = fullRow + count;
    const auto first = std::lower_bound(m.rowMap.begin(), m.rowMap.end(), fullRow);
    const auto last = std::lower_bound(first, m.rowMap.end(), end);
    const int pivot = static_cast<int>(first - m.rowMap.begin());
    const int removed = static_cast<int>(last - first);
    const int oldCurrent = m.grid.currentRow;
    const auto after = m.rowMap.erase(first, last);
    for (auto it = after; it != m.rowMap.end(); ++it) *it -= count;
    m.list.Remove(fullRow, count);
    ShowMappedRows(m);
    int row = oldCurrent;
    if (oldCurrent >= pivot + removed) {
        row = oldCurrent - removed;
    } else if (oldCurrent >= pivot) {
        row = pivot;
    }
    m.grid.currentRow = std::clamp(row, 0, std::max(m.grid.rowCount - 1, 0));
    m.grid.topRow = std::clamp(m.grid.topRow, 0, std::max(m.grid.rowCount - 1, 0));
}

void CollapseToLevel2(FolderModel& m) {
    std::vector<int> kept;
    kept.reserve(m.rowMap.size());
    for (int full : m.rowMap) {
        if (m.list.Level(full) <= 2) kept.push_back(full);
    }
    m.rowMap = std::move(kept);
    ShowMappedRows(m);
    m.grid.currentRow = std::min(m.grid.currentRow, std::max(m.grid.rowCount - 1, 0));
}

}  // namespace catalog
