#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <cstdint>
#include <vector>

#include "catalog/grid/colour.h"

namespace catalog::grid {

class IconStrip;

inline constexpr int kMaxColumns = 27;
inline constexpr int kInitialRowRoom = 100;  // per-row room of a cleared grid
inline constexpr int kRowRoomStep = 200;     // growth when a row index is beyond the room
inline constexpr int kClearedBufferLength = 122880;
inline constexpr int kBufferGrowth = 65536;
inline constexpr int kBufferSpareMinimum = 256;

// Characters of the row text buffer.
inline constexpr char16_t kRowStart = 8;   // begins every row
inline constexpr char16_t kEndOfRows = 0;  // ends the used part of the buffer

// Tree flag bits (one character per row).
inline constexpr int kTreeHasChildren = 1;
inline constexpr int kTreeLastChild = 2;

enum class Align : std::uint8_t { Left = 0, Right = 1, Centre = 2 };

// Letter-case rule of a column when drawn.
enum NameCaseRule : int {
    kCaseAsStored = 0,
    kCaseLower = 1,
    kCaseUpper = 2,
    kCaseCapitalizeWord = 3,
    kCaseCapitalizeWords = 4,
    kCaseCapitalizePath = -1,
};

// The complete state of one self-drawn grid: rows, cursor cell, marks,
// scrolling and drawing settings. Row indexes are 0-based; positions in the
// row text buffer are 0-based indexes into `rows`.
//
// Rows live in `rows` as one text: each row is the character 8, the text of
// column 0, then the separators 2, 3, 4, 5, 6 each followed by the next
// cell. The used part ends at the first character 0. rowStarts[r] is the
// position of row r's character 8 and rowStarts[rowCount] that of the
// terminating 0. The per-row arrays (indent, rowMark, colourSlot, rowStarts,
// iconCodes, treeFlags) always hold at least rowCount (+1 for rowStarts)
// entries; EnsureRowRoom grows them.
struct GridState {
    int currentColumn = 0;
    int currentRow = 0;
    int columnCount = 3;
    int rowCount = 0;
    int rowHeight = 0;  // pixels; 0 until the first fit
    std::array<QRect, kMaxColumns> textRects{};
    std::array<int, kMaxColumns + 1> columnWidths{};
    std::array<int, kMaxColumns + 1> edges{};  // edges[c + 1] = right edge of column c
    std::array<Align, kMaxColumns> alignment{};
    int hLineWidth = 0;  // 0 or 1: ruled line under each row
    int vLineWidth = 0;  // 0 or 1: ruled line at each column's right edge
    ColourRef hLineColour = 0xA0A0A0;
    ColourRef vLineColour = 0xB0B0B0;
    int textTop = 0;  // pixels from the row top to the text of columns 1 and up
    int topRow = 0;
    int visibleRows = 0;
    int interleave = 1;  // extra pixels per row, 1 to 4
    bool cursorDrawn = false;
    int lastCursorColumn = 0;
    int lastCursorRow = 0;
    bool cursorShown = true;
    ColourRef cursorBack = kSystemHighlight;  // kNoColour: no fill
    ColourRef cursorText = kSystemHighlightText;
    bool cursorFrame = true;  // one-pixel 0xC0C0C0 frame around the cursor cell
    ColourRef markBack = kSystemHighlight;
    ColourRef markText = kSystemHighlightText;
    int markMask = -1;  // -1: marks are honoured
    int anchorRow = 0;
    int markCount = 0;
    std::int32_t markSum = 0;
    bool scrollBarPlaced = false;
    bool scrollBarUpdating = false;  // the engine is changing the bar: ignore its events
    std::array<int, kMaxColumns> nameCase{};
    bool treeLines = false;
    int indentStep = 0;
    ColourRef treeLineColour = 0;
    const IconStrip* iconStrip = nullptr;  // not owned; must outlive its use in painting
    std::array<int, 5> iconWidth{};
    std::array<int, 5> iconHeight{};

    std::vector<int> indent;               // x of the row's icon and tree box
    std::vector<std::int16_t> rowMark;     // -1 marked, 0 not
    std::vector<std::uint8_t> colourSlot;  // kept for the row builders
    std::vector<int> rowStarts;            // rowCount + 1 entries are valid
    QString iconCodes;                     // one character per row, 0 = no icon
    QString treeFlags;                     // one character per row
    QString rows;                          // the row text buffer
};

// Right edge of column c (c from -1; edge -1 is 0).
inline int Edge(const GridState& g, int c) { return g.edges[static_cast<size_t>(c + 1)]; }
inline void SetEdge(GridState& g, int c, int x) { g.edges[static_cast<size_t>(c + 1)] = x; }

// Number of rows the per-row arrays have room for.
int RowRoom(const GridState& g);
// Grows the per-row arrays by steps of 200 rows until `row` fits.
void EnsureRowRoom(GridState& g, int row);
// Sizes the per-row arrays to at least `rows` rows at once (row builders).
void ReserveRows(GridState& g, int rows);
// The data part of a clear: empty buffer of 122880 zeros, per-row arrays for
// 100 rows, counts, cursor, marks and anchor back to 0.
void ClearRows(GridState& g);

// Rebuilds rowStarts and rowCount by scanning the buffer for row starts up to
// the first character 0 (the end of the buffer when there is none).
void IndexRows(GridState& g);
// Appends one row record (character 8, then the cells joined by 2, 3, 4, ...)
// after the used part, re-terminates the buffer and indexes the new row.
void AppendRow(GridState& g, const QStringList& cells);

// Text of cell (column, row) without copying; empty for a row out of range.
QStringView CellView(const GridState& g, int column, int row);
QString CellText(const GridState& g, int column, int row);
// Replaces one cell inside the buffer, moving the rest of the used part and
// the later row starts. The buffer is lengthened by 65536 zeros (as often as
// needed) when fewer than 256 spare characters would remain after the
// terminator. False when the row does not exist or lacks the cell's separator.
bool ReplaceCellText(GridState& g, int column, int row, QStringView text);

inline int IconCode(const GridState& g, int row) {
    return row < g.iconCodes.size() ? g.iconCodes.at(row).unicode() : 0;
}
inline int TreeFlags(const GridState& g, int row) {
    return row < g.treeFlags.size() ? g.treeFlags.at(row).unicode() : 0;
}
inline bool IsMarked(const GridState& g, int row) {
    return (g.rowMark[static_cast<size_t>(row)] & g.markMask) != 0;
}
inline int RowIndent(const GridState& g, int row) { return g.indent[static_cast<size_t>(row)]; }
void SetIconCode(GridState& g, int row, int code);
void SetTreeFlags(GridState& g, int row, int flags);

}  // namespace catalog::grid
