#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace catalog {

// The full list of a folder model: every row built or read, shown or not, in
// tree order. The records live one after another in one text; a start table,
// a level and an icon code per row index it. Colour slots of the
// registration views are kept per row as well (the drive view derives its own).
class FullList {
  public:
    int Count() const { return static_cast<int>(levels_.size()); }
    void Clear();
    // Room for about `rows` rows of `chars` characters in all.
    void Reserve(int rows, qsizetype chars);

    void Append(QStringView record, int level, int icon, int colourSlot = 0);
    // The rows of `other`, inserted before row `index`.
    void Insert(int index, const FullList& other);
    // Removes `count` rows from row `index` on.
    void Remove(int index, int count = 1);

    QStringView Record(int row) const;
    QStringView Cell(int row, int column) const;
    int Level(int row) const { return levels_[static_cast<size_t>(row)]; }
    int Icon(int row) const { return icons_[static_cast<size_t>(row)]; }
    int ColourSlot(int row) const { return slots_[static_cast<size_t>(row)]; }
    void SetIcon(int row, int icon) {
        icons_[static_cast<size_t>(row)] = static_cast<std::uint8_t>(icon);
    }
    void SetColourSlot(int row, int slot) {
        slots_[static_cast<size_t>(row)] = static_cast<std::uint8_t>(slot);
    }

    // The first row whose KEY cell is `key`, or -1. The index behind it is
    // built on the first lookup after a change of rows or keys, so a series
    // of lookups between changes costs one pass in all.
    int RowOfKey(const QString& key) const;
    // The first row whose KEY, ASCII-folded, is `foldedKey`; -1 when none.
    int RowOfFoldedKey(const QString& foldedKey) const;

    // Replaces one cell of a row; false when the row lacks the cell.
    bool SetCell(int row, int column, QStringView text);
    // The row's sub-folders have not been read yet (character 12 at its end).
    bool Unread(int row) const;
    void MarkRead(int row);

  private:
    void ShiftStarts(int fromRow, qsizetype delta);
    void KeysChanged() { keyIndexCurrent_ = false; }
    void IndexKeys() const;

    QString text_;
    std::vector<qsizetype> starts_{0};  // Count() + 1 entries; the last is the end
    std::vector<std::int16_t> levels_;
    std::vector<std::uint8_t> icons_;
    std::vector<std::uint8_t> slots_;
    mutable QHash<QString, int> keyIndex_;
    mutable QHash<QString, int> foldedKeyIndex_;
    mutable bool keyIndexCurrent_ = false;
};

}  // namespace catalog
