#pragma once

#include "store/backup_entry.h"
#include "store/definition_changes.h"

#include <QHash>
#include <QString>

#include <functional>
#include <list>
#include <map>

#include <optional>
#include <vector>

namespace store {

// The definition list: every registration, stored as one text, the
// definition body. Each entry starts with a marker and the body ends with a
// terminator; keys are source folders compared after ASCII upper-casing,
// except that case twins on a case-sensitive disk ("Photos" and "photos",
// both existing) are two keys: a key written exactly wins.
// Entries stay sorted by source folder, a folder directly before its
// sub-folders.
//
// The entries are kept one by one, indexed by key and (once something is
// inserted) by sort order, so each operation costs O(log n) or less. An entry
// keeps the text it was read as until it is replaced, so that what the file
// holds is written back unchanged; the body text is put together only when
// the definition file is written.
class DefinitionList {
  public:
    DefinitionList() = default;
    explicit DefinitionList(QString body) { SetBody(std::move(body)); }
    DefinitionList(const DefinitionList& other);
    DefinitionList& operator=(const DefinitionList& other);
    DefinitionList(DefinitionList&&) noexcept = default;
    DefinitionList& operator=(DefinitionList&&) noexcept = default;

    // The whole text; valid until the list is next changed.
    const QString& Body() const;
    // Replaces the whole body; the modified flag is left alone.
    void SetBody(QString body);
    bool IsEmpty() const { return length_ <= 1; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The entries in stored order, for walks over the whole list.
    std::vector<BackupEntry> Entries() const;
    // The entry of that key: written exactly so, else differing in ASCII case
    // only and naming the same host folder.
    std::optional<BackupEntry> EntryOf(const QString& sourceFolder) const;
    bool HasEntry(const QString& sourceFolder) const { return Find(sourceFolder).has_value(); }

    // Replaces the entry of the same key in place, or inserts it in order.
    // False, and nothing changed, when a field holds one of the characters
    // that frame entries (the stored text could not be read back).
    bool PutEntry(const BackupEntry& entry);

    // Removes the entry, and with `withDescendants` the entries right after it
    // that lie below its folder. False, and nothing changed, when the key is
    // missing.
    bool RemoveEntry(const QString& sourceFolder, bool withDescendants);

    // Rewrites the 16 characters of the entry's last-backup time in place.
    bool SetLastBackup(const QString& sourceFolder, const BackupTime& time);

    // True when some entry's source is `folder` or lies below it (ASCII case
    // folded; "C:\DATA" does not hold "C:\DATA2").
    bool HasSourceIn(const QString& folder) const;

    // A folder moved: every entry whose source, or whose destination, is
    // `oldFolder` or lies below it has that part replaced by `newFolder`, in
    // place. A moved entry whose new source another entry holds already is
    // dropped rather than listed twice.
    void MoveFolder(const QString& oldFolder, const QString& newFolder);

    // Removes every entry whose source, or whose destination, is `folder` or
    // lies below it.
    void ForgetFolder(const QString& folder);

    // Sorts the entries by source folder (a folder before its sub-folders,
    // entries of equal source in their stored order); what stood before the
    // first entry or after the terminator is dropped.
    void SortBySource();

    // Cuts the list just before its entry number `index` as Entries() counts
    // them (a malformed entry). The modified flag is not set; the entries cut
    // away count as deleted.
    void RepairFrom(std::size_t index);

    // Entries never backed up whose destination is an existing archive file
    // take that file's modification time as their last backup, except those
    // `lastRunFailed` names: their archive is no backup to go by. Returns how
    // many were recovered.
    int RecoverLastBackups(
        const std::function<bool(const QString& sourceFolder)>& lastRunFailed = {});

    // What PutEntry, RemoveEntry and SetLastBackup changed since the body was
    // last set or the changes forgotten: what a save merges into the file.
    const DefinitionChanges& Changes() const { return changes_; }
    void SetChanges(DefinitionChanges changes) { changes_ = std::move(changes); }
    void ForgetChanges() { changes_ = DefinitionChanges(); }

  private:
    // One entry's text: from its marker up to the next marker or the terminator.
    struct Record {
        QString text;
        qsizetype keyLength = 0;  // the source folder: up to its separator, else all
        bool keyed = false;       // the separator after the source folder is there

        QStringView Key() const { return QStringView(text).mid(1, keyLength); }
    };
    using Records = std::list<Record>;
    using Place = Records::iterator;
    struct SortOrder {
        bool operator()(const QString& a, const QString& b) const;
    };

    static Record MakeRecord(QString text);
    // Replaces the records with `texts`, keeping the lead and tail; the
    // changes and the modified flag are the caller's.
    void Rebuild(const std::vector<QString>& texts);
    // The record of a source folder: written exactly so, else differing in
    // ASCII case only and naming the same host folder.
    std::optional<Place> Find(const QString& sourceFolder) const;
    Place Erase(Place place);
    void Resized(qsizetype delta);
    void SortForInsertion();

    QString lead_;  // text before the first marker (a damaged body)
    Records records_;
    QString tail_;  // the terminator and anything after it
    qsizetype length_ = 0;
    bool modified_ = false;
    DefinitionChanges changes_;

    QHash<QString, Place> byKey_;  // folded key: the first entry of that key
    bool repeatedKeys_ = false;    // a hand-edited body may hold a key twice
    std::multimap<QString, Place, SortOrder> sorted_;
    bool sortedBuilt_ = false;  // built by the first insertion, then kept

    mutable QString body_;
    mutable bool bodyCurrent_ = true;
};

// The order of source folders: ASCII letters without case, "\" before every
// other character, so that a folder's sub-folders follow it directly.
int CompareSortKeys(QStringView a, QStringView b);

}  // namespace store
