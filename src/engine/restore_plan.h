#pragma once

#include "archiver/member_extraction.h"
#include "platform/path_kinds.h"
#include "store/backup_entry.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// What a restore will write: for each file of a backup, where it goes, with
// the time and size the backup holds. A plan is made by reading one
// registration's backup (a folder copy, an LZH or a ZIP archive) and applied
// by the one restore executor (restore_run.h).
namespace engine {

enum class BackupKind { FolderCopy, Lzh, Zip };

BackupKind BackupKindOf(const store::BackupEntry& entry);

struct RestoreItem {
    QString name;               // "\"-separated path inside the backup, below the registered folder
    platform::HostPath target;  // where it is written
    qint64 timeNs = 0;          // the backup's modification time
    qint64 size = 0;            // the backup's size
    bool coarseTime = false;    // the backup keeps times in two-second steps
    platform::HostPath backupFile;  // folder copies: the backup file
    std::size_t member = 0;         // archives: the member's index in the reader
    // Archives: the reader of a history archive the member is in; null for
    // the plan's own archive.
    std::shared_ptr<const archiver::ArchiveReader> archive;
};

struct RestorePlan {
    BackupKind kind = BackupKind::FolderCopy;
    platform::DrivePath backup;     // the resolved destination, for messages
    platform::HostPath targetRoot;  // the folder restored into
    bool readable = false;          // false: the backup cannot be read at all (see `error`)
    QString error;
    std::vector<RestoreItem> items;
    // Members whose names would leave the target folder: never written.
    QStringList refused;
    // What could not be read of the backup (a listing cut short, a damaged archive).
    QStringList unread;
    // Archives: the open archive the items are read from.
    std::shared_ptr<const archiver::ArchiveReader> archive;
};

// Which part of a backup to restore, and where.
struct RestoreRequest {
    store::BackupEntry entry;
    platform::DrivePath backup;     // the registration's destination resolved
    platform::HostPath targetRoot;  // the folder standing for the registered source folder
    // Only below this "\"-separated folder of the backup ("" for everything).
    QString below;
    // Only these "\"-separated file names (empty: every file).
    QStringList only;
};

// The registration holding `folder`: its own, or the nearest
// one above that includes its sub-folders; `below` gets the rest of the path
// ("" for the registered folder itself). Null when none holds it.
const store::BackupEntry* HoldingRegistration(const std::vector<store::BackupEntry>& entries,
                                              const platform::DrivePath& folder, QString& below);

// Reads the backup and plans the restore. Never changes the backup.
RestorePlan PlanRestore(const RestoreRequest& request);

}  // namespace engine
