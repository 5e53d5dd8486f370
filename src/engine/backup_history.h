#pragma once

#include "engine/engine.h"
#include "util/file_ops.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The history of a backup: what runs replace or delete is not gone at once
// but kept in a hidden folder beside the backup, ".kibako-history", for the
// number of days of the setting HistoryDays. A folder copy keeps each old
// file at "<stamp>/<path below the destination>", where the stamp
// ("YYYY-MM-DD_HHMMSS", local time) is the start of the run that replaced
// it; an archive keeps its old members in "<archive name> <stamp>.LZH" (or
// .ZIP). Nothing is ever copied into the history: a file is linked or moved
// there, so the history costs no data written and a file is at every moment
// in the backup, in the history, or in both.
namespace engine {

QString HistoryFolderName();  // ".kibako-history"

// The most days the setting HistoryDays may ask for.
inline constexpr int kMostHistoryDays = 3650;

// "2026-12-09_130500" of a local time.
QString HistoryStamp(const QDateTime& time);
// The time a history entry was made, from its name: a folder "<stamp>" (or
// "<stamp>-2", ...), an archive "<name> <stamp>.<ext>". Nothing for names the
// history did not make.
std::optional<QDateTime> HistoryEntryTime(const QString& name, bool isFolder);

// The history of one folder copy. Files are kept below `hostRoot` (the
// destination's host path) + "/.kibako-history/<stamp>", the stamp being
// `runStart`'s, or the first free "<stamp>-n" when a run of the same second
// made that folder already.
class FolderHistory {
  public:
    // `driveRoot` is the destination as the copy names it (drive form); the
    // path of a kept file below the history is its path below `driveRoot`.
    FolderHistory(const platform::DrivePath& driveRoot, const platform::HostPath& hostRoot,
                  const QDateTime& runStart);

    // A file that is to be replaced, held in the history until the new copy
    // is in place.
    struct Held {
        platform::HostPath kept;    // in the history
        platform::HostPath target;  // the backup file
        bool moved = false;         // moved (the file system has no links): put back on failure
    };
    // Before the backup `hostTarget` (drive form `driveTarget`) is replaced:
    // a second name in the history (or, where links are not kept, the file
    // moved there). Nothing, with `error`, when it cannot be kept.
    std::optional<Held> HoldReplaced(const platform::DrivePath& driveTarget,
                                     const platform::HostPath& hostTarget, QString& error);
    // After the copy: a replaced file stays in the history; a file not
    // replaced leaves it again (the backup keeps its only copy).
    static void Release(const Held& held, bool replaced);
    // Instead of deleting a backup: moves it into the history. False, with
    // `error`, when it cannot be moved (it is then left where it is).
    bool KeepDeleted(const platform::DrivePath& driveTarget, const platform::HostPath& hostTarget,
                     QString& error);

    platform::HostPath HostHistoryFolder() const {
        return platform::HostPath(hostRoot_.text() + u'/' + HistoryFolderName());
    }

  private:
    std::optional<platform::HostPath> KeptPathOf(const platform::DrivePath& driveTarget,
                                                 QString& error);

    platform::DrivePath driveRoot_;
    platform::HostPath hostRoot_;
    QString stamp_;
    QSet<platform::HostPath> madeFolders_;
};

// For the length of one folder copy: removes the destination's history older
// than the setting's days, and keeps what the copy replaces or deletes. Does
// nothing when no history is kept, or when the destination has no host path.
class FolderHistoryScope {
  public:
    FolderHistoryScope(Engine& engine, const platform::DrivePath& driveDestination,
                       const std::optional<platform::HostPath>& hostDestination);
    ~FolderHistoryScope();
    FolderHistoryScope(const FolderHistoryScope&) = delete;
    FolderHistoryScope& operator=(const FolderHistoryScope&) = delete;

  private:
    Engine& engine_;
    std::optional<FolderHistory> history_;
};

// The copy of a file over its backup, keeping the replaced backup in the
// engine's history (when there is one). When the copy fails because the disk
// is full, the oldest history on that disk is removed and the copy tried once
// more.
util::CopyResult CopyKeepingHistory(Engine& engine, const util::ResolvedCopy& copy,
                                    const platform::CopyProgress& progress);

// Deletes a backup whose source is gone, or moves it into the engine's
// history. True when it is gone from the backup.
bool DeleteKeepingHistory(Engine& engine, const platform::DrivePath& driveTarget,
                          const platform::HostPath& hostTarget);

// Removes from the history folder `hostHistory` every entry made before
// `now` minus `days` days; the lines say what was removed.
QStringList PruneHistory(const platform::HostPath& hostHistory, int days, const QDateTime& now);

// Removes the oldest entries of the history folders `hostHistories` that are
// on the file system of `hostPath`, oldest first, until `bytes` are free
// there or none is left; entries made at `before` or later (the current
// run's) are left. The lines say what was removed (empty: nothing).
QStringList MakeRoomFromHistory(const QList<platform::HostPath>& hostHistories,
                                const platform::HostPath& hostPath, qint64 bytes,
                                const QDateTime& before);

// MakeRoomFromHistory over the engine's history folders, leaving this run's own entries;
// the lines go to the engine's notes. True when something was removed.
bool MakeRoomFor(Engine& engine, const platform::HostPath& hostPath, qint64 bytes);

// The history folder beside an archive, and the history archive a run that
// began at `runStart` writes there: "<base name> <stamp>.<ext>".
platform::HostPath ArchiveHistoryFolder(const platform::HostPath& hostArchive);
platform::HostPath ArchiveHistoryName(const platform::HostPath& hostArchive,
                                      const QDateTime& runStart);

// Prunes the history folder at the start of an entry, noting it in the engine.
void PruneHistoryFolder(Engine& engine, const platform::HostPath& hostHistory);

}  // namespace engine
