#include "catalog/grid/grid_state.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

namespace catalog::grid {

namespace {

void ResizeRowArrays(GridState& g, int room) {
    const auto n = static_cast<size_t>(room);
    g.indent.resize(n, 0);
    g.rowMark.resize(n, 0);
    g.colourSlot.resize(n, 0);
    g.rowStarts.resize(n + 1, 0);
    if (g.iconCodes.size() < room) g.iconCodes.resize(room, QChar(0));
    if (g.treeFlags.size() < room) g.treeFlags.resize(room, QChar(0));
}

int UsedLength(const GridState& g) {
    if (!g.rowStarts.empty()) {
        const int end = g.rowStarts[static_cast<size_t>(g.rowCount)];
        if (end < g.rows.size() && g.rows.at(end) == QChar(kEndOfRows)) return end;
    }
    const int zero = static_cast<int>(g.rows.indexOf(QChar(kEndOfRows)));
    return zero < 0 ? static_cast<int>(g.rows.size()) : zero;
}

// Start (inclusive) and end (exclusive) of a cell in the buffer, or false.
bool FindCell(const GridState& g, int column, int row, int& begin, int& end) {
    if (row < 0 || row >= g.rowCount || column < 0) return false;
    const QChar* text = g.rows.constData();
    const int rowBegin = g.rowStarts[static_cast<size_t>(row)] + 1;
    const int rowEnd = g.rowStarts[static_cast<size_t>(row) + 1];
    int from = rowBegin;
    if (column > 0) {
        const char16_t opening = static_cast<char16_t>(column + 1);
        from = -1;
        for (int i = rowBegin; i < rowEnd; ++i) {
            if (text[i].unicode() == opening) {
                from = i + 1;
                break;
            }
        }
        if (from < 0) return false;
    }
    const char16_t closing = static_cast<char16_t>(column + 2);
    int to = rowEnd;
    for (int i = from; i < rowEnd; ++i) {
        if (text[i].unicode() == closing) {
            to = i;
            break;
        }
    }
    begin = from;
    end = to;
    return true;
}

}  // namespace

int RowRoom(const GridState& g) { return static_cast<int>(g.indent.size()); }

void EnsureRowRoom(GridState& g, int row) {
    int room = RowRoom(g);
    if (room == 0) room = kInitialRowRoom;
    while (row >= room) room += kRowRoomStep;
    if (room != RowRoom(g)) ResizeRowArrays(g, room);
}

void ReserveRows(GridState& g, int rows) {
    if (rows > RowRoom(g)) ResizeRowArrays(g, rows);
}

void ClearRows(GridState& g) {
    g.rows = QString(kClearedBufferLength, QChar(kEndOfRows));
    g.iconCodes.clear();
    g.treeFlags.clear();
    g.indent.clear();
    g.rowMark.clear();
    g.colourSlot.clear();
    g.rowStarts.clear();
    ResizeRowArrays(g, kInitialRowRoom);
    g.rowCount = 0;
    g.topRow = 0;
    g.currentRow = 0;
    g.currentColumn = 0;
    g.lastCursorRow = 0;
    g.lastCursorColumn = 0;
    g.cursorDrawn = false;
    g.markCount = 0;
    g.markSum = 0;
    g.anchorRow = 0;
}

void IndexRows(GridState& g) {
    const QChar* text = g.rows.constData();
    const int size = static_cast<int>(g.rows.size());
    int count = 0;
    int i = 0;
    for (; i < size && text[i].unicode() != kEndOfRows; ++i) {
        if (text[i].unicode() != kRowStart) continue;
        EnsureRowRoom(g, count);
        g.rowStarts[static_cast<size_t>(count)] = i;
        ++count;
    }
    EnsureRowRoom(g, count);
    g.rowStarts[static_cast<size_t>(count)] = i;
    g.rowCount = count;
}

void AppendRow(GridState& g, const QStringList& cells) {
    QString record{QChar(kRowStart)};
    for (qsizetype k = 0; k < cells.size(); ++k) {
        if (k > 0) record += QChar(static_cast<char16_t>(k + 1));
        record += cells.at(k);
    }
    const int used = UsedLength(g);
    const int needed = used + static_cast<int>(record.size()) + 1 + kBufferSpareMinimum;
    if (g.rows.size() < needed) {
        g.rows.resize(std::max<qsizetype>(needed, g.rows.size() + kBufferGrowth), QChar(0));
    }
    std::copy(record.cbegin(), record.cend(), g.rows.begin() + used);
    const int terminator = used + static_cast<int>(record.size());
    g.rows[terminator] = QChar(kEndOfRows);
    EnsureRowRoom(g, g.rowCount + 1);
    g.rowStarts[static_cast<size_t>(g.rowCount)] = used;
    ++g.rowCount;
    g.rowStarts[static_cast<size_t>(g.rowCount)] = terminator;
}

QStringView CellView(const GridState& g, int column, int row) {
    int begin = 0;
    int end = 0;
    if (!FindCell(g, column, row, begin, end)) return {};
    return QStringView(g.rows).mid(begin, end - begin);
}

QString CellText(const GridState& g, int column, int row) {
    return CellView(g, column, row).toString();
}

bool ReplaceCellText(GridState& g, int column, int row, QStringView text) {
    int begin = 0;
    int end = 0;
    if (!FindCell(g, column, row, begin, end)) return false;
    const int delta = static_cast<int>(text.size()) - (end - begin);
    const int terminator = g.rowStarts[static_cast<size_t>(g.rowCount)];
    const int spareAfter = static_cast<int>(g.rows.size()) - (terminator + 1 + delta);
    if (spareAfter < kBufferSpareMinimum) {
        const int shortBy = kBufferSpareMinimum - spareAfter;
        const int steps = (shortBy + kBufferGrowth - 1) / kBufferGrowth;
        g.rows.resize(g.rows.size() + static_cast<qsizetype>(steps) * kBufferGrowth, QChar(0));
    }
    QChar* data = g.rows.data();
    const int tailLength = terminator + 1 - end;  // includes the terminator
    std::memmove(data + end + delta, data + end, sizeof(QChar) * static_cast<size_t>(tailLength));
    if (delta < 0) {
        std::fill(data + terminator + 1 + delta, data + terminator + 1, QChar(0));
    }
    std::copy(text.begin(), text.end(), data + begin);
    if (delta != 0) {
        for (int r = row + 1; r <= g.rowCount; ++r) g.rowStarts[static_cast<size_t>(r)] += delta;
    }
    return true;
}

void SetIconCode(GridState& g, int row, int code) {
    EnsureRowRoom(g, row);
    g.iconCodes[row] = QChar(static_cast<char16_t>(code));
}

void SetTreeFlags(GridState& g, int row, int flags) {
    EnsureRowRoom(g, row);
    g.treeFlags[row] = QChar(static_cast<char16_t>(flags));
}

}  // namespace catalog::grid
