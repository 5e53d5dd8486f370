#include "store/definition_list.h"

#include "util/file_ops.h"
#include "util/message_sink.h"
#include "util/numbers.h"
#include "util/text_case.h"

#include <QDateTime>

#include <algorithm>

namespace store {
namespace {

// The key of the entry whose marker is at `marker`.
QStringView KeyAt(const QString& body, qsizetype marker) {
    const qsizetype start = marker + 1;
    qsizetype end = body.indexOf(kAfterSource, start);
    if (end < 0) end = body.size();
    // A malformed entry has no separator before the next marker.
    const qsizetype next = body.indexOf(kEntryMarker, start);
    if (next >= 0 && next < end) end = next;
    const QStringView key = QStringView(body).mid(start, end - start);
    const qsizetype terminator = key.indexOf(kTerminator);
    return terminator < 0 ? key : key.left(terminator);
}

bool SameKey(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QChar x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z') x = QChar(x.unicode() - 32);
        if (y >= u'a' && y <= u'z') y = QChar(y.unicode() - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

int CompareSortKeys(QStringView a, QStringView b) {
    const auto fold = [](QChar c) -> char16_t {
        if (c == u'\\') return 1;
        if (c >= u'a' && c <= u'z') return c.unicode() - 32;
        return c.unicode();
    };
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

qsizetype DefinitionList::Terminator() const {
    const qsizetype at = body_.indexOf(kTerminator);
    return at < 0 ? body_.size() : at;
}

qsizetype DefinitionList::EntryEnd(qsizetype marker) const {
    for (qsizetype i = marker + 1; i < body_.size(); ++i) {
        if (body_[i] == kEntryMarker || body_[i] == kTerminator) return i;
    }
    return body_.size();
}

std::optional<qsizetype> DefinitionList::FindEntry(const QString& sourceFolder) const {
    const qsizetype terminator = Terminator();
    for (qsizetype at = body_.indexOf(kEntryMarker); at >= 0 && at < terminator;
         at = body_.indexOf(kEntryMarker, at + 1)) {
        const QStringView key = KeyAt(body_, at);
        const qsizetype after = at + 1 + key.size();
        if (after < body_.size() && body_[after] == kAfterSource && SameKey(key, sourceFolder))
            return at;
    }
    return std::nullopt;
}

std::optional<DefinitionList::Step> DefinitionList::NextEntry(qsizetype position) const {
    const qsizetype marker = body_.indexOf(kEntryMarker, position);
    if (marker < 0 || marker > Terminator()) return std::nullopt;
    const qsizetype next = EntryEnd(marker);
    return Step{ParseEntryText(QStringView(body_).mid(marker, next - marker)), marker, next};
}

std::vector<BackupEntry> DefinitionList::Entries() const {
    std::vector<BackupEntry> entries;
    for (auto step = NextEntry(0); step; step = NextEntry(step->next))
        entries.push_back(step->entry);
    return entries;
}

void DefinitionList::PutEntry(const BackupEntry& entry) {
    if (body_.isEmpty()) body_ = kTerminator;
    const QString text = EntryText(entry);
    // One walk finds the entry to replace, or where the new one goes: before
    // the first that sorts after it. A body out of order (edited by hand) is
    // sorted whole.
    const qsizetype terminator = Terminator();
    qsizetype insertAt = terminator;
    bool ordered = true, placed = false;
    QStringView previous;
    for (qsizetype at = body_.indexOf(kEntryMarker); at >= 0 && at < terminator;
         at = body_.indexOf(kEntryMarker, at + 1)) {
        const QStringView key = KeyAt(body_, at);
        const int order = CompareSortKeys(entry.sourceFolder, key);
        const qsizetype after = at + 1 + key.size();
        if (order == 0 && after < body_.size() && body_[after] == kAfterSource &&
            SameKey(key, entry.sourceFolder)) {
            body_.replace(at, EntryEnd(at) - at, text);
            modified_ = true;
            return;
        }
        if (!previous.isNull() && CompareSortKeys(key, previous) < 0) ordered = false;
        if (!placed && order < 0) {
            insertAt = at;
            placed = true;
        }
        previous = key;
    }
    if (ordered) {
        body_.insert(insertAt, text);
    } else {
        std::vector<std::pair<QString, QString>> items;
        for (auto step = NextEntry(0); step; step = NextEntry(step->next)) {
            items.emplace_back(step->entry.sourceFolder,
                               body_.mid(step->position, step->next - step->position));
        }
        items.emplace_back(entry.sourceFolder, text);
        std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
            return CompareSortKeys(a.first, b.first) < 0;
        });
        body_.clear();
        for (const auto& item : items) body_ += item.second;
        body_ += kTerminator;
    }
    modified_ = true;
}

bool DefinitionList::RemoveEntry(const QString& sourceFolder, bool withDescendants) {
    const auto at = FindEntry(sourceFolder);
    if (!at) {
        util::Messages().Beep();
        return false;
    }
    body_.remove(*at, EntryEnd(*at) - *at);
    modified_ = true;
    if (!withDescendants) return true;
    const QString prefix = util::AsciiUpper(sourceFolder) + u'\\';
    while (*at < body_.size() && body_[*at] == kEntryMarker &&
           util::AsciiUpper(KeyAt(body_, *at).toString()).startsWith(prefix)) {
        body_.remove(*at, EntryEnd(*at) - *at);
    }
    return true;
}

bool DefinitionList::SetLastBackup(const QString& sourceFolder, const QString& time) {
    const auto at = FindEntry(sourceFolder);
    if (!at) return false;
    const qsizetype separator = body_.indexOf(kAfterDestination, *at);
    if (separator < 0 || separator >= EntryEnd(*at)) return false;
    const qsizetype available =
        std::min<qsizetype>(util::kDateTimeLength, EntryEnd(*at) - separator - 1);
    body_.replace(separator + 1, available, time.leftJustified(util::kDateTimeLength, u' ', true));
    modified_ = true;
    return true;
}

void DefinitionList::RepairAt(qsizetype position) {
    if (position < 0 || position >= body_.size()) return;
    body_.truncate(position);
    body_ += kTerminator;
}

int DefinitionList::RecoverLastBackups() {
    int recovered = 0;
    for (const BackupEntry& entry : Entries()) {
        if (!entry.lastBackup.isEmpty() && entry.lastBackup[0].isDigit()) continue;
        if (entry.CompressionKind().isEmpty()) continue;
        const auto modified = util::ModifiedTimeOf(entry.destination);
        if (!modified || !util::FileExists(entry.destination)) continue;
        SetLastBackup(entry.sourceFolder,
                      util::FormatDateTime(QDateTime::fromMSecsSinceEpoch(*modified / 1'000'000)));
        ++recovered;
    }
    return recovered;
}

}  // namespace store
