#include "store/definition_changes.h"

#include "store/definition_list.h"

namespace store {

void DefinitionChanges::Put(const BackupEntry& entry, bool ownTime) {
    const QString key = entry.sourceFolder;
    removed_.remove(key);
    put_.insert(key, entry);
    if (ownTime) lastBackups_.insert(key, entry.lastBackup);
}

void DefinitionChanges::Remove(const QString& sourceFolder) {
    const QString& key = sourceFolder;
    put_.remove(key);
    lastBackups_.remove(key);
    removed_.insert(key);
}

void DefinitionChanges::SetLastBackup(const QString& sourceFolder, const BackupTime& time) {
    lastBackups_.insert(sourceFolder, time);
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

void DefinitionChanges::ApplyTo(DefinitionList& list) const {
    if (replacesAll_) list = DefinitionList();
    for (const QString& key : removed_) list.RemoveEntry(key, false);
    for (auto it = put_.cbegin(); it != put_.cend(); ++it) {
        const QString& key = it.key();
        BackupEntry merged = it.value();
        const auto own = lastBackups_.constFind(key);
        if (own != lastBackups_.cend()) {
            merged.lastBackup = *own;
        } else if (const std::optional<BackupEntry> onDisk = list.EntryOf(key)) {
            merged.lastBackup = onDisk->lastBackup;
        }
        list.PutEntry(merged);
    }
    for (auto it = lastBackups_.cbegin(); it != lastBackups_.cend(); ++it) {
        if (!put_.contains(it.key())) list.SetLastBackup(it.key(), it.value());
    }
}

}  // namespace store
