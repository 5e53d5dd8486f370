#include "store/definition_changes.h"

#include "store/definition_list.h"
#include "util/text_case.h"

namespace store {

void DefinitionChanges::Put(const BackupEntry& entry, bool ownTime) {
    const QString key = util::AsciiUpper(entry.sourceFolder);
    removed_.erase(key);
    put_.insert_or_assign(key, entry);
    if (ownTime) lastBackups_.insert_or_assign(key, entry.lastBackup);
}

void DefinitionChanges::Remove(const QString& sourceFolder) {
    const QString key = util::AsciiUpper(sourceFolder);
    put_.erase(key);
    lastBackups_.erase(key);
    removed_.insert(key);
}

void DefinitionChanges::SetLastBackup(const QString& sourceFolder, const QString& time) {
    lastBackups_.insert_or_assign(util::AsciiUpper(sourceFolder), time);
}

DefinitionChanges DefinitionChanges::ReplacingWith(const DefinitionList& list) {
    DefinitionChanges changes;
    changes.replacesAll_ = true;
    for (const BackupEntry& entry : list.Entries()) {
        if (entry.wellFormed) changes.Put(entry, true);
    }
    return changes;
}

DefinitionChanges DefinitionChanges::Between(const DefinitionList& before,
                                             const DefinitionList& after) {
    DefinitionChanges changes = before.Changes();
    for (const BackupEntry& old : before.Entries()) {
        if (!after.EntryOf(old.sourceFolder)) changes.Remove(old.sourceFolder);
    }
    for (const BackupEntry& entry : after.Entries()) {
        const std::optional<BackupEntry> old = before.EntryOf(entry.sourceFolder);
        if (old && EntryText(*old) == EntryText(entry)) continue;
        changes.Put(entry, !old || old->lastBackup != entry.lastBackup);
    }
    return changes;
}

void DefinitionChanges::Append(const DefinitionChanges& later) {
    if (later.replacesAll_) {
        *this = later;
        return;
    }
    for (const QString& key : later.removed_) Remove(key);
    for (const auto& [key, entry] : later.put_) Put(entry, false);
    for (const auto& [key, time] : later.lastBackups_) lastBackups_.insert_or_assign(key, time);
}

void DefinitionChanges::ApplyTo(DefinitionList& list) const {
    if (replacesAll_) list = DefinitionList();
    for (const QString& key : removed_) list.RemoveEntry(key, false);
    for (const auto& [key, entry] : put_) {
        BackupEntry merged = entry;
        const auto own = lastBackups_.find(key);
        if (own != lastBackups_.end()) {
            merged.lastBackup = own->second;
        } else if (const std::optional<BackupEntry> onDisk = list.EntryOf(key)) {
            merged.lastBackup = onDisk->lastBackup;
        }
        list.PutEntry(merged);
    }
    for (const auto& [key, time] : lastBackups_) {
        if (!put_.contains(key)) list.SetLastBackup(key, time);
    }
}

}  // namespace store
