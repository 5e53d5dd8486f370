#pragma once

#include "store/backup_entry.h"

#include <QString>

#include <optional>
#include <vector>

namespace store {

// The definition list: every registration in one text, the definition body.
// Each entry starts with a marker and the body ends with a terminator; keys
// are source folders compared after ASCII upper-casing. Entries stay sorted by
// source folder, a folder directly before its sub-folders.
class DefinitionList {
  public:
    DefinitionList() = default;
    explicit DefinitionList(QString body) : body_(std::move(body)) {}

    const QString& Body() const { return body_; }
    // Replaces the whole body; the modified flag is left alone.
    void SetBody(QString body) { body_ = std::move(body); }
    bool IsEmpty() const { return body_.size() <= 1; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Position of the entry's marker in the body.
    std::optional<qsizetype> FindEntry(const QString& sourceFolder) const;

    struct Step {
        BackupEntry entry;
        qsizetype position;  // of this entry's marker
        qsizetype next;      // of the next marker, or of the terminator
    };
    // The entry at or after `position` (0 starts the walk); nothing at the end.
    std::optional<Step> NextEntry(qsizetype position) const;
    std::vector<BackupEntry> Entries() const;

    // Replaces the entry of the same key in place, or inserts it in order.
    void PutEntry(const BackupEntry& entry);

    // Removes the entry, and with `withDescendants` the entries right after it
    // that lie below its folder. False (and a beep) when the key is missing.
    bool RemoveEntry(const QString& sourceFolder, bool withDescendants);

    // Rewrites the 16 characters of the entry's last-backup time in place.
    bool SetLastBackup(const QString& sourceFolder, const QString& time);

    // Cuts the body just before the marker at `position` (a malformed entry).
    // The modified flag is not set.
    void RepairAt(qsizetype position);

    // Entries never backed up whose destination is an existing archive file
    // take that file's modification time as their last backup. Returns how
    // many were recovered.
    int RecoverLastBackups();

  private:
    qsizetype EntryEnd(qsizetype marker) const;
    qsizetype Terminator() const;

    QString body_;
    bool modified_ = false;
};

// The order of source folders: ASCII letters without case, "\" before every
// other character, so that a folder's sub-folders follow it directly.
int CompareSortKeys(QStringView a, QStringView b);

}  // namespace store
