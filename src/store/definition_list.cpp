#include "store/definition_list.h"

#include "platform/ascii_fold.h"
#include "platform/host_path.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <QDateTime>
#include <QSet>

#include <algorithm>

namespace store {
namespace {

QString Folded(QStringView key) { return platform::AsciiFold(key); }

// Characters that frame entries cannot stand inside a field; nor can a lone
// surrogate, which is how a host name's bytes that are not UTF-8 are carried
// (platform/host_name.h): the stored file is code page 932 text, and writing
// those bytes as CP932 would read back as another name.
bool HoldsFraming(const QString& field) {
    for (const QChar c : field) {
        if (c == kTerminator || (c.unicode() >= 2 && c.unicode() <= 8)) return true;
    }
    return !field.isValidUtf16();
}

// A stored source folder stands for the one asked for when it is written the
// same, or differs in ASCII case only and names the same host folder (a path
// carried over from Windows), or when neither exists: on a case-sensitive disk
// "Photos" and "photos" are two folders with a registration each.
bool NamesSameFolder(QStringView stored, const QString& asked) {
    if (stored == asked) return true;
    const platform::HostLook a = platform::LookUpHostPath(platform::DrivePath(stored.toString()));
    const platform::HostLook b = platform::LookUpHostPath(platform::DrivePath(asked));
    if (a.path == b.path) return true;
    const auto absent = [](platform::HostLook::Kind k) {
        return k == platform::HostLook::Kind::Nothing || k == platform::HostLook::Kind::Unknown;
    };
    return absent(a.found) && absent(b.found);
}

// The entry's source or destination field as it is written, or nothing when
// its separators are missing.
std::optional<QStringView> SourceField(QStringView text) {
    const qsizetype close = text.indexOf(kAfterSource, 1);
    if (close < 0) return std::nullopt;
    return text.mid(1, close - 1);
}

std::optional<QStringView> DestinationField(QStringView text) {
    const qsizetype open = text.indexOf(kAfterSource, 1);
    if (open < 0) return std::nullopt;
    const qsizetype close = text.indexOf(kAfterDestination, open + 1);
    if (close < 0) return std::nullopt;
    return text.mid(open + 1, close - open - 1);
}

// The field is the folder whose folded form is `foldedFolder`, or lies below it.
bool LiesIn(std::optional<QStringView> field, const QString& foldedFolder) {
    if (!field || field->size() < foldedFolder.size()) return false;
    return Folded(field->left(foldedFolder.size())) == foldedFolder &&
           (field->size() == foldedFolder.size() || (*field)[foldedFolder.size()] == u'\\');
}

}  // namespace

std::optional<DefinitionList::Place> DefinitionList::Find(const QString& sourceFolder) const {
    const QString folded = Folded(sourceFolder);
    const auto it = byKey_.constFind(folded);
    if (it == byKey_.cend()) return std::nullopt;
    const Place first = *it;
    if (first->Key() == sourceFolder) return first;
    if (repeatedKeys_) {
        // Positions handed out for changes: the list itself is not changed here.
        Records& records = const_cast<Records&>(records_);
        for (Place r = records.begin(); r != records.end(); ++r) {
            if (r->keyed && r->Key() == sourceFolder) return r;
        }
    }
    if (NamesSameFolder(first->Key(), sourceFolder)) return first;
    return std::nullopt;
}

int CompareSortKeys(QStringView a, QStringView b) {
    const auto fold = [](QChar c) -> char16_t {
        if (c == u'\\') return 1;
        return platform::AsciiFold(c.unicode());
    };
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool DefinitionList::SortOrder::operator()(const QString& a, const QString& b) const {
    return CompareSortKeys(a, b) < 0;
}

DefinitionList::DefinitionList(const DefinitionList& other) : DefinitionList(other.Body()) {
    modified_ = other.modified_;
    changes_ = other.changes_;
}

DefinitionList& DefinitionList::operator=(const DefinitionList& other) {
    if (this != &other) {
        SetBody(other.Body());
        modified_ = other.modified_;
        changes_ = other.changes_;
    }
    return *this;
}

DefinitionList::Record DefinitionList::MakeRecord(QString text) {
    Record record;
    const qsizetype separator = text.indexOf(kAfterSource);
    record.keyed = separator >= 0;
    record.keyLength = record.keyed ? separator - 1 : text.size() - 1;
    record.text = std::move(text);
    return record;
}

void DefinitionList::SetBody(QString body) {
    changes_ = DefinitionChanges();
    lead_.clear();
    records_.clear();
    tail_.clear();
    byKey_.clear();
    repeatedKeys_ = false;
    sorted_.clear();
    sortedBuilt_ = false;
    length_ = body.size();

    qsizetype end = body.indexOf(kTerminator);
    if (end < 0) end = body.size();
    qsizetype at = body.indexOf(kEntryMarker);
    if (at < 0 || at > end) at = end;
    lead_ = body.left(at);
    while (at < end) {
        qsizetype next = body.indexOf(kEntryMarker, at + 1);
        if (next < 0 || next > end) next = end;
        const Place place = records_.insert(records_.end(), MakeRecord(body.mid(at, next - at)));
        if (place->keyed) {
            const QString key = Folded(place->Key());
            if (byKey_.contains(key)) {
                repeatedKeys_ = true;
            } else {
                byKey_.insert(key, place);
            }
        }
        at = next;
    }
    tail_ = body.mid(end);
    // The records hold the text now; a second copy of the whole would double
    // what a large list takes. The body is put together again when it is written.
    body_.clear();
    bodyCurrent_ = false;
}

const QString& DefinitionList::Body() const {
    if (!bodyCurrent_) {
        body_.clear();
        body_.reserve(length_);
        body_ += lead_;
        for (const Record& record : records_) body_ += record.text;
        body_ += tail_;
        bodyCurrent_ = true;
    }
    return body_;
}

void DefinitionList::Resized(qsizetype delta) {
    length_ += delta;
    body_.clear();
    bodyCurrent_ = false;
}

std::vector<BackupEntry> DefinitionList::Entries() const {
    std::vector<BackupEntry> entries;
    entries.reserve(records_.size());
    for (const Record& record : records_) entries.push_back(ParseEntryText(record.text));
    return entries;
}

std::optional<BackupEntry> DefinitionList::EntryOf(const QString& sourceFolder) const {
    // The exact folder, not the first of its case twins.
    const auto place = Find(sourceFolder);
    if (!place) return std::nullopt;
    return ParseEntryText((*place)->text);
}

// A list read from a file may be out of order (edited by hand): the first
// insertion sorts it whole, as a fresh text of entries and terminator. From
// then on every insertion keeps the order.
void DefinitionList::SortForInsertion() {
    if (sortedBuilt_) return;
    bool ordered = true;
    for (auto it = records_.cbegin(), previous = it; it != records_.cend(); previous = it++) {
        if (it != previous && CompareSortKeys(it->Key(), previous->Key()) < 0) {
            ordered = false;
            break;
        }
    }
    if (!ordered) {
        records_.sort(
            [](const Record& a, const Record& b) { return CompareSortKeys(a.Key(), b.Key()) < 0; });
        Resized(-lead_.size() - tail_.size() + 1);
        lead_.clear();
        tail_ = kTerminator;
    }
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        sorted_.emplace_hint(sorted_.end(), it->Key().toString(), it);
    }
    sortedBuilt_ = true;
}

bool DefinitionList::PutEntry(const BackupEntry& entry) {
    if (HoldsFraming(entry.sourceFolder) || HoldsFraming(entry.destination) ||
        HoldsFraming(entry.lastBackup.Text())) {
        return false;
    }
    if (length_ == 0) {
        tail_ = kTerminator;
        Resized(1);
    }
    Record record = MakeRecord(EntryText(entry));
    const QString folded = Folded(record.Key());
    if (const auto found = Find(record.Key().toString())) {
        const Place place = *found;
        const bool ownTime = ParseEntryText(place->text).lastBackup != entry.lastBackup;
        changes_.Put(entry, ownTime);
        Resized(record.text.size() - place->text.size());
        *place = std::move(record);
        modified_ = true;
        return true;
    }
    SortForInsertion();
    const QString key = record.Key().toString();
    const auto after = sorted_.upper_bound(key);
    const Place before = after == sorted_.end() ? records_.end() : after->second;
    Resized(record.text.size());
    const Place place = records_.insert(before, std::move(record));
    sorted_.emplace_hint(after, key, place);
    changes_.Put(entry, true);
    // A case twin is a folder of its own; the first of the key stays indexed.
    if (byKey_.contains(folded)) {
        repeatedKeys_ = true;
    } else {
        byKey_.insert(folded, place);
    }
    modified_ = true;
    return true;
}

DefinitionList::Place DefinitionList::Erase(Place place) {
    if (place->keyed) {
        const QString folded = Folded(place->Key());
        const auto it = byKey_.find(folded);
        if (it != byKey_.end() && *it == place) {
            byKey_.erase(it);
            // The next entry of the same key, if any, is now the first.
            if (repeatedKeys_) {
                for (auto other = records_.begin(); other != records_.end(); ++other) {
                    if (other != place && other->keyed && Folded(other->Key()) == folded) {
                        byKey_.insert(folded, other);
                        break;
                    }
                }
            }
        }
    }
    if (sortedBuilt_) {
        auto [from, to] = sorted_.equal_range(place->Key().toString());
        for (; from != to; ++from) {
            if (from->second == place) {
                sorted_.erase(from);
                break;
            }
        }
    }
    Resized(-place->text.size());
    return records_.erase(place);
}

bool DefinitionList::RemoveEntry(const QString& sourceFolder, bool withDescendants) {
    const auto found = Find(sourceFolder);
    if (!found) return false;
    const QString stored = (*found)->Key().toString();
    changes_.Remove(stored);
    Place next = Erase(*found);
    modified_ = true;
    if (!withDescendants) return true;
    // The order folds case, so a twin's entries may stand among them.
    const QString prefix = Folded(stored) + u'\\';
    while (next != records_.end() && Folded(next->Key()).startsWith(prefix)) {
        if (NamesSameFolder(next->Key().left(stored.size()), stored)) {
            changes_.Remove(next->Key().toString());
            next = Erase(next);
        } else {
            ++next;
        }
    }
    return true;
}

bool DefinitionList::SetLastBackup(const QString& sourceFolder, const BackupTime& time) {
    const auto found = Find(sourceFolder);
    if (!found) return false;
    QString& text = (*found)->text;
    const qsizetype separator = text.indexOf(kAfterDestination);
    if (separator < 0) return false;
    const qsizetype available =
        std::min<qsizetype>(util::kDateTimeLength, text.size() - separator - 1);
    const QString stored = time.Text().leftJustified(util::kDateTimeLength, u' ', true);
    text.replace(separator + 1, available, stored);
    Resized(util::kDateTimeLength - available);
    changes_.SetLastBackup(sourceFolder, BackupTime::FromText(stored));
    modified_ = true;
    return true;
}

void DefinitionList::RepairFrom(std::size_t index) {
    if (index >= records_.size()) return;
    DefinitionChanges changes = std::move(changes_);
    QString body = lead_;
    std::size_t i = 0;
    for (const Record& record : records_) {
        if (i++ < index) {
            body += record.text;
        } else if (record.keyed) {
            changes.Remove(record.Key().toString());
        }
    }
    body += kTerminator;
    SetBody(std::move(body));
    changes_ = std::move(changes);
}

int DefinitionList::RecoverLastBackups(
    const std::function<bool(const QString& sourceFolder)>& lastRunFailed) {
    int recovered = 0;
    for (const BackupEntry& entry : Entries()) {
        // A damaged time that begins like one is not known to be never.
        const QString time = entry.lastBackup.Text();
        if (!time.isEmpty() && time[0].isDigit()) continue;
        if (util::ExtensionOf(entry.destination).isEmpty()) continue;
        if (lastRunFailed && lastRunFailed(entry.sourceFolder)) continue;
        const platform::DrivePath destination(entry.destination);
        const auto modified = util::ModifiedTimeOf(destination);
        if (!modified || !util::FileExists(destination)) continue;
        SetLastBackup(entry.sourceFolder,
                      BackupTime::At(QDateTime::fromMSecsSinceEpoch(*modified / 1'000'000)));
        ++recovered;
    }
    return recovered;
}

void DefinitionList::Rebuild(const std::vector<QString>& texts) {
    QString body = lead_;
    for (const QString& text : texts) body += text;
    body += tail_;
    DefinitionChanges changes = std::move(changes_);
    SetBody(std::move(body));
    changes_ = std::move(changes);
}

bool DefinitionList::HasSourceIn(const QString& folder) const {
    const QString folded = Folded(folder);
    return std::any_of(records_.begin(), records_.end(), [&folded](const Record& record) {
        return LiesIn(SourceField(record.text), folded);
    });
}

void DefinitionList::MoveFolder(const QString& oldFolder, const QString& newFolder) {
    const QString folded = Folded(oldFolder);
    QSet<QString> keptSources;
    for (const Record& record : records_)
        if (!LiesIn(SourceField(record.text), folded)) keptSources.insert(Folded(record.Key()));
    std::vector<QString> texts;
    texts.reserve(records_.size());
    bool changed = false;
    for (const Record& record : records_) {
        QString text = record.text;
        const bool moved = LiesIn(SourceField(text), folded);
        if (moved) text.replace(1, oldFolder.size(), newFolder);
        if (const auto destination = DestinationField(text); LiesIn(destination, folded))
            text.replace(destination->data() - text.constData(), oldFolder.size(), newFolder);
        if (text != record.text) {
            changed = true;
            if (moved && record.keyed) changes_.Remove(record.Key().toString());
        }
        if (moved && keptSources.contains(Folded(MakeRecord(text).Key()))) continue;
        if (text != record.text) changes_.Put(ParseEntryText(text), moved);
        texts.push_back(std::move(text));
    }
    if (!changed) return;
    Rebuild(texts);
    modified_ = true;
}

void DefinitionList::ForgetFolder(const QString& folder) {
    const QString folded = Folded(folder);
    std::vector<QString> texts;
    texts.reserve(records_.size());
    for (const Record& record : records_) {
        if (LiesIn(SourceField(record.text), folded) ||
            LiesIn(DestinationField(record.text), folded)) {
            if (record.keyed) changes_.Remove(record.Key().toString());
            continue;
        }
        texts.push_back(record.text);
    }
    if (texts.size() == records_.size()) return;
    Rebuild(texts);
    modified_ = true;
}

void DefinitionList::SortBySource() {
    std::vector<const Record*> order;
    order.reserve(records_.size());
    for (const Record& record : records_) order.push_back(&record);
    std::stable_sort(order.begin(), order.end(), [](const Record* a, const Record* b) {
        return CompareSortKeys(a->Key(), b->Key()) < 0;
    });
    std::vector<QString> texts;
    texts.reserve(order.size());
    for (const Record* record : order) texts.push_back(record->text);
    lead_.clear();
    tail_ = kTerminator;
    Rebuild(texts);
}

}  // namespace store
