#pragma once

#include "store/backup_entry.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace store {

class DefinitionList;

// What one program changed in its definition list since it read the file or
// last saved it: the registrations it added or replaced, those it deleted,
// and the last-backup times of the runs it made itself. Kibako and Tetoru
// share one file; a save applies these changes to the file as it is on disk
// at that moment, so that whatever the other program saved meanwhile stays.
//
// Keys are source folders as the list stores them: `Photos` and `photos` are
// two folders of a case-sensitive disk with a change each, and the list finds
// a stored source written in other case (a file carried over from Windows)
// when it is applied. Later changes to a key override earlier ones.
class DefinitionChanges {
  public:
    bool IsEmpty() const {
        return !replacesAll_ && put_.isEmpty() && removed_.isEmpty() && lastBackups_.isEmpty();
    }

    // A registration added or replaced. `ownTime` when its last-backup time
    // is this program's to write (a new registration, or one whose time the
    // edit changed); otherwise the time on disk stays.
    void Put(const BackupEntry& entry, bool ownTime);
    void Remove(const QString& sourceFolder);
    void SetLastBackup(const QString& sourceFolder, const BackupTime& time);

    // The list is to stand for the whole file, whatever the file holds now
    // (saving under a name the user chose to overwrite).
    static DefinitionChanges ReplacingWith(const DefinitionList& list);
    // `before`, then what turned `before` into `after`, entry by entry.
    static DefinitionChanges Between(const DefinitionList& before, const DefinitionList& after);

    // Applies the changes to `list`, freshly read from the file. A time for a
    // registration the list no longer holds is dropped: what one program
    // deleted and the other ran stays deleted.
    void ApplyTo(DefinitionList& list) const;

  private:
    bool replacesAll_ = false;
    // Each change stands alone: applying them in any order gives one list.
    QHash<QString, BackupEntry> put_;
    QSet<QString> removed_;
    QHash<QString, BackupTime> lastBackups_;
};

}  // namespace store
