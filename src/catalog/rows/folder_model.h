#pragma once

#include <functional>
#include <vector>

#include "catalog/grid/grid_state.h"
#include "catalog/rows/full_list.h"

namespace catalog {

inline constexpr int kIndentBase = 6;
inline constexpr int kMaxTreeLevel = 399;

// Icon codes of folder rows.
enum FolderIcon : int {
    kIconFolder = 10,
    kIconCdRom = 11,
    kIconRemovable = 12,
    kIconDrive = 13,
    kIconMyDocuments = 14,
    kIconWholeTree = 15,  // registered with SubFolderMode "2"
    kIconHeader = 16,
    kIconLzh = 29,
    kIconZip = 30,
};

// Colour slots (indexes into the level colour table).
inline constexpr int kSlotPath = 0;
inline constexpr int kSlotHeader = 1;
inline constexpr int kSlotRegistration = 5;

// One folder-grid model: the full list, which of its rows are shown (the row
// map, shown row -> full-list row) and the grid state that shows them.
struct FolderModel {
    explicit FolderModel(bool isDriveView) : driveView(isDriveView) {}
    bool driveView;
    FullList list;
    std::vector<int> rowMap;  // ascending: shown rows keep the full list's order
    grid::GridState grid;
    int indentStep = 0;  // set by the icon loading
};

// The full-list row has rows below it; in the drive view also a folder whose
// sub-folders have not been read yet.
bool HasChildren(const FolderModel& m, int fullRow);

// The nearest earlier full-list row one level up, or -1.
int ParentRow(const FullList& rows, int fullRow);

// Indent of a row in pixels: (level - 1) x step + 6; the header (level 0) is
// drawn at the indent of level 1.
int IndentOf(int level, int indentStep);

// Indents of the shown rows again from the model's indent step (a new font
// changed the icon size); nothing else of the grid state changes.
void RecomputeIndents(FolderModel& m);

// Rebuilds the grid state from the row map: records, icon codes, indents,
// colour slots and tree flags; marks cleared. The cursor, top row and scroll
// state are left for the caller.
void ShowMappedRows(FolderModel& m);

// Tree flags of every shown row: 1 has child rows in the full list (drive
// view: also an unread folder, whose children are not known yet), 2 last of
// its siblings.
void ComputeTreeFlags(FolderModel& m);

// True when shown row r has its children shown (the next shown row is deeper).
bool IsExpanded(const FolderModel& m, int shownRow);

// Hides every shown row below r that is deeper than r; a cursor below moves up
// by the number of rows hidden. Returns that number.
int CollapseRow(FolderModel& m, int shownRow);

// Reads the sub-folders of full-list row `fullRow` (an unread drive row) and
// returns them as rows one level deeper; registered by the drive view.
using FolderReader = std::function<FullList(const FolderModel& m, int fullRow)>;

// Shows the children of shown row r (with `all`, every deeper row of its
// subtree that is in the full list). An unread row is read first through
// `reader` and its rows are added to the full list after it. A cursor below r
// moves down by the rows added. Returns that number.
int ExpandRow(FolderModel& m, int shownRow, bool all, const FolderReader& reader);

// Removes `count` rows of the full list from `fullRow` on, and those of them
// that are shown from the grid; the cursor stays on its row, or goes to the
// row that now stands where the removed ones were.
void RemoveFullRows(FolderModel& m, int fullRow, int count);

// Collapses every shown row of level 2 (the drive rows of the settings and
// destination views): only levels 0 to 2 stay shown.
void CollapseToLevel2(FolderModel& m);

}  // namespace catalog
