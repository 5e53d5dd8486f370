#include "catalog/rows/full_list.h"

#include "catalog/rows/row_record.h"
#include "platform/ascii_fold.h"

#include <algorithm>

namespace catalog {

void FullList::Clear() {
    text_.clear();
    starts_.assign(1, 0);
    levels_.clear();
    icons_.clear();
    slots_.clear();
    KeysChanged();
}

void FullList::Reserve(int rows, qsizetype chars) {
    text_.reserve(chars);
    starts_.reserve(static_cast<size_t>(rows) + 1);
    levels_.reserve(static_cast<size_t>(rows));
    icons_.reserve(static_cast<size_t>(rows));
    slots_.reserve(static_cast<size_t>(rows));
}

void FullList::Append(QStringView record, int level, int icon, int colourSlot) {
    // Grow in large steps rather than row by row.
    if (text_.capacity() - text_.size() < 300) text_.reserve(text_.size() + 4096 + record.size());
    text_ += record;
    starts_.push_back(text_.size());
    levels_.push_back(static_cast<std::int16_t>(level));
    icons_.push_back(static_cast<std::uint8_t>(icon));
    slots_.push_back(static_cast<std::uint8_t>(colourSlot));
    KeysChanged();
}

void FullList::Insert(int index, const FullList& other) {
    if (other.Count() == 0) return;
    const auto at = static_cast<size_t>(index);
    const qsizetype position = starts_[at];
    text_.insert(position, other.text_);
    std::vector<qsizetype> added;
    added.reserve(static_cast<size_t>(other.Count()));
    for (int r = 0; r < other.Count(); ++r) added.push_back(position + other.starts_[r]);
    const qsizetype length = other.text_.size();
    ShiftStarts(index, length);
    starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    const auto offset = static_cast<std::ptrdiff_t>(at);
    levels_.insert(levels_.begin() + offset, other.levels_.begin(), other.levels_.end());
    icons_.insert(icons_.begin() + offset, other.icons_.begin(), other.icons_.end());
    slots_.insert(slots_.begin() + offset, other.slots_.begin(), other.slots_.end());
    KeysChanged();
}

void FullList::Remove(int index, int count) {
    count = std::min(count, Count() - index);
    if (index < 0 || count <= 0) return;
    const auto from = static_cast<size_t>(index);
    const auto to = from + static_cast<size_t>(count);
    const qsizetype length = starts_[to] - starts_[from];
    text_.remove(starts_[from], length);
    const auto first = static_cast<std::ptrdiff_t>(from);
    const auto last = static_cast<std::ptrdiff_t>(to);
    starts_.erase(starts_.begin() + first, starts_.begin() + last);
    ShiftStarts(index, -length);
    levels_.erase(levels_.begin() + first, levels_.begin() + last);
    icons_.erase(icons_.begin() + first, icons_.begin() + last);
    slots_.erase(slots_.begin() + first, slots_.begin() + last);
    KeysChanged();
}

void FullList::IndexKeys() const {
    if (keyIndexCurrent_) return;
    keyIndex_.clear();
    keyIndex_.reserve(Count());
    foldedKeyIndex_.clear();
    for (int r = 0; r < Count(); ++r) {
        const QString rowKey = Cell(r, kKeyColumn).toString();
        if (!keyIndex_.contains(rowKey)) keyIndex_.insert(rowKey, r);
        const QString folded = platform::AsciiFold(rowKey);
        if (!foldedKeyIndex_.contains(folded)) foldedKeyIndex_.insert(folded, r);
    }
    keyIndexCurrent_ = true;
}

int FullList::RowOfKey(const QString& key) const {
    IndexKeys();
    return keyIndex_.value(key, -1);
}

int FullList::RowOfFoldedKey(const QString& foldedKey) const {
    IndexKeys();
    return foldedKeyIndex_.value(foldedKey, -1);
}

QStringView FullList::Record(int row) const {
    if (row < 0 || row >= Count()) return {};
    const auto r = static_cast<size_t>(row);
    return QStringView(text_).mid(starts_[r], starts_[r + 1] - starts_[r]);
}

QStringView FullList::Cell(int row, int column) const { return CellOf(Record(row), column); }

bool FullList::SetCell(int row, int column, QStringView text) {
    const QStringView record = Record(row);
    const QStringView cell = CellOf(record, column);
    if (cell.data() == nullptr) return false;
    const qsizetype from = starts_[static_cast<size_t>(row)] + (cell.data() - record.data());
    text_.replace(from, cell.size(), text.toString());
    ShiftStarts(row + 1, text.size() - cell.size());
    if (column == kKeyColumn) KeysChanged();
    return true;
}

bool FullList::Unread(int row) const {
    const QStringView record = Record(row);
    return !record.isEmpty() && record.back() == kUnreadMark;
}

void FullList::MarkRead(int row) {
    if (!Unread(row)) return;
    text_.remove(starts_[static_cast<size_t>(row) + 1] - 1, 1);
    ShiftStarts(row + 1, -1);
}

void FullList::ShiftStarts(int fromRow, qsizetype delta) {
    if (delta == 0) return;
    for (size_t r = static_cast<size_t>(fromRow); r < starts_.size(); ++r) starts_[r] += delta;
}

}  // namespace catalog
