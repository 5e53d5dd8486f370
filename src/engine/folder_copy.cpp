#include "engine/folder_copy.h"
#include "util/missing_folder.h"

#include "engine/backup_history.h"
#include "engine/backup_times.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "platform/temporary_names.h"
#include "util/destination_folder.h"
#include "util/file_ops.h"
#include "util/name_list.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <QFile>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <optional>

namespace engine {
namespace {

using platform::FoundEntry;

// The mouse pointer is the hourglass while a folder level is copied.
class BusyCursor {
  public:
    explicit BusyCursor(EngineUi& ui) : ui_(ui) { ui_.SetBusyCursor(true); }
    ~BusyCursor() { ui_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    EngineUi& ui_;
};

// The files of the destination folder, found by name the way Windows finds
// them: an exact name first, else the same name in other ASCII case.
class DestinationFiles {
  public:
    explicit DestinationFiles(const QList<FoundEntry>& entries) {
        exact_.reserve(entries.size());
        for (const FoundEntry& entry : entries) {
            if (!entry.isFolder) exact_.insert(entry.name, entry);
        }
    }
    std::optional<FoundEntry> Find(const QString& name) {
        if (const auto it = exact_.constFind(name); it != exact_.cend()) return *it;
        // Names in other case are rare: their index is built on first need.
        if (!foldedBuilt_) {
            for (auto it = exact_.cbegin(); it != exact_.cend(); ++it) {
                folded_.insert(util::AsciiUpper(it.key()), it.key());
            }
            foldedBuilt_ = true;
        }
        if (const auto it = folded_.constFind(util::AsciiUpper(name)); it != folded_.cend()) {
            return exact_.value(*it);
        }
        return std::nullopt;
    }
    // Forgets the file a source name stands for; what remains has no source.
    void Claim(const FoundEntry& file) {
        exact_.remove(file.name);
        if (foldedBuilt_) folded_.remove(util::AsciiUpper(file.name), file.name);
    }
    QStringList Remaining() const { return exact_.keys(); }

  private:
    QHash<QString, FoundEntry> exact_;
    QMultiHash<QString, QString> folded_;
    bool foldedBuilt_ = false;
};

bool AskOlderFile(Engine& engine, const platform::DrivePath& sourceFile, qint64 sourceNs,
                  const platform::DrivePath& target, qint64 targetNs) {
    OlderFile older;
    older.fileName = util::FileNameOf(sourceFile.text());
    older.sourceFolder = util::ParentPath(sourceFile.text());
    older.sourceTimeNs = sourceNs;
    older.backupFolder = util::ParentPath(target.text());
    older.backupTimeNs = targetNs;
    return engine.Ui().AskOlderFile(older) == util::Answer::Yes;
}

// A folder level resolved once: drive and host forms of both folders.
struct Level {
    platform::DrivePath source;
    platform::DrivePath destination;
    platform::HostPath hostSource;
    platform::HostPath hostDestination;
    bool destinationOnFat = false;
};

// False when the file should have been backed up and was not, or its copy
// is already out of date (the source changed while it was copied).
bool CopyKnownFile(Engine& engine, const Level& level, const FoundEntry& source,
                   const std::optional<FoundEntry>& existing) {
    // Most files of a later run are unchanged: decide before building any path.
    const TimeOrder order =
        existing ? CompareToBackup({source.modifiedNs, source.size},
                                   {existing->modifiedNs, existing->size}, level.destinationOnFat)
                 : TimeOrder::Newer;
    if (order == TimeOrder::Same) return true;
    const platform::DrivePath sourceFile = util::JoinPath(level.source, source.name);
    // An existing copy keeps its own spelling of the name.
    const QString targetName = existing ? existing->name : source.name;
    const platform::DrivePath target = util::JoinPath(level.destination, targetName);
    if (order == TimeOrder::Older &&
        !AskOlderFile(engine, sourceFile, source.modifiedNs, target, existing->modifiedNs)) {
        return true;
    }
    EngineUi& ui = engine.Ui();
    const util::ResolvedCopy copy{sourceFile,
                                  target,
                                  level.hostSource.Below(source.name),
                                  level.hostDestination.Below(targetName),
                                  source.size,
                                  existing.has_value()};
    const util::CopyResult result =
        CopyKeepingHistory(engine, copy, [&ui](qint64 done, qint64 total) {
            ui.SetFileProgress(done, total);
            ui.LetEventsRun();
        });
    if (result.copied) {
        engine.CountFile();
        existing ? engine.CountReplaced() : engine.CountNewCopy();
    }
    if (result.failed) engine.CountFailedFile();
    return !result.failed && !result.sourceChanged;
}

// Whether the source folder exists, and its host path (which a drive root
// that exists only as a letter lacks).
struct SourceFolder {
    bool exists = false;
    std::optional<platform::HostPath> hostPath;
};

SourceFolder LookAtSource(const RunFolder& source) {
    if (source.drive.text().size() > 3) {
        std::optional<platform::HostPath> host =
            util::ExistingFolder(source.drive, nullptr, &source.host);
        return {host.has_value(), std::move(host)};
    }
    if (!util::FolderExists(source.drive)) return {};
    return {true, source.host.path};
}

// A link where a sub-folder of the backup belongs leads out of the backup:
// following it would write the source's files into the folder it points to,
// and delete files there. The backup does not own it; it is left as it is and
// the entry fails, naming it. (The registration's own destination may be a
// link: only folders below it are looked at here.)
bool DestinationIsALink(Engine& engine, const RunFolder& destination) {
    if (destination.host.found != platform::HostLook::Kind::Link) return false;
    engine.Ui().StandardMessage(
        QStringLiteral(
            "バックアップ先のフォルダーがシンボリック・リンクなので、その先には書き込みません\n"
            "フォルダー：　") +
            destination.drive.text(),
        util::Buttons::Ok, util::Answer::Ok);
    engine.CountFailedFile();
    return true;
}

// A name that holds "\\" or ":" cannot be written in the Windows form the
// backup is kept in: such files are not backed up, and the entry fails naming
// each one by its host path.
bool RefuseUnaddressable(Engine& engine, const platform::HostPath& hostFolder,
                         const QStringList& names) {
    if (names.isEmpty()) return false;
    QString files;
    for (const QString& name : names) {
        files += QStringLiteral("\nファイル：　") +
                 platform::MessageText(hostFolder.text() + u'/' + name);
        engine.CountFailedFile();
    }
    engine.Ui().StandardMessage(
        QStringLiteral("名前に「\\」か「:」を含むので、バックアップできません") + files,
        util::Buttons::Ok, util::Answer::Ok);
    return true;
}

}  // namespace

RunFolders LookUpRunFolders(const platform::DrivePath& source,
                            const platform::DrivePath& destination) {
    return {{source, platform::LookUpHostPath(source)},
            {destination, platform::LookUpHostPath(destination)}};
}

bool CopyFolder(Engine& engine, const platform::DrivePath& source,
                const platform::DrivePath& destination, bool withSubFolders, bool deleteMissing) {
    return CopyFolder(engine, LookUpRunFolders(source, destination), withSubFolders, deleteMissing);
}

bool CopyFolder(Engine& engine, const RunFolders& folders, bool withSubFolders,
                bool deleteMissing) {
    const platform::DrivePath& source = folders.source.drive;
    const platform::DrivePath& destination = folders.destination.drive;
    EngineUi& ui = engine.Ui();
    ui.SetSourceText(source.text());
    ui.SetDestinationText(destination.text());
    ui.LetEventsRun();
    const SourceFolder sourceFolder = LookAtSource(folders.source);
    if (!sourceFolder.exists || !sourceFolder.hostPath) {
        ui.StandardMessage(util::MissingFolderText(source), util::Buttons::Ok, util::Answer::Ok);
        return false;
    }

    BusyCursor busy(ui);
    const util::DestinationFolder made =
        util::PrepareDestinationFolder(destination, &folders.destination.host);
    if (made.error) {
        ui.StandardMessage(*made.error, util::Buttons::Ok, util::Answer::Ok);
        return false;
    }
    // Both folders are resolved once; their listings use the host paths.
    Level level{source, destination, *sourceFolder.hostPath, made.hostPath, false};
    const QString everything = QStringLiteral("*.*");
    // The copy reads names, sizes and times of the source; its FAT attribute
    // bits would cost a look at each file on a FAT disk.
    const platform::SearchResult listing =
        platform::SearchHostFolder(level.hostSource, everything, platform::SearchDetail::NoFatBits);
    bool allCopied = !RefuseUnaddressable(engine, level.hostSource, listing.passedOver);
    // A folder this call made is empty: there is nothing in it to read, and
    // no time of a backup to compare with.
    platform::SearchResult destinationListing;
    if (!made.created) {
        destinationListing = platform::SearchHostFolder(level.hostDestination, everything);
        level.destinationOnFat = destinationListing.coarseTimes;
    }
    DestinationFiles destinationFiles(destinationListing.entries);
    // Temporary copies left by a run that was killed are removed here, where
    // this run writes; only stale ones, never another run's live one.
    if (destinationListing.holdsTemporaries) {
        platform::RemoveStaleTemporaries(
            platform::HostBytes(level.hostDestination.text()).toStdString());
    }

    QStringList subFolders;
    for (const FoundEntry& entry : listing.entries) {
        if (entry.isFolder) {
            // A history folder is the backup's own, never part of a source.
            if (entry.name != HistoryFolderName()) subFolders.append(entry.name);
            continue;
        }
        const std::optional<FoundEntry> existing = destinationFiles.Find(entry.name);
        if (existing) destinationFiles.Claim(*existing);
        if (!CopyKnownFile(engine, level, entry, existing)) allCopied = false;
        ui.LetEventsRun();
        if (engine.AbortRequested()) return false;
    }
    // Deleting backups is the one step that destroys data on purpose: only
    // when the source listing was read to its end.
    if (deleteMissing && listing.complete) {
        for (const QString& name : destinationFiles.Remaining()) {
            if (DeleteKeepingHistory(engine, util::JoinPath(destination, name),
                                     level.hostDestination.Below(name))) {
                engine.CountDeleted();
            }
        }
    }
    if (withSubFolders) {
        for (const QString& name : subFolders) {
            // Each sub-folder is looked up from the level above, as listed.
            const RunFolder below{util::JoinPath(destination, name),
                                  platform::LookUpHostEntry(level.hostDestination, name)};
            if (DestinationIsALink(engine, below)) {
                allCopied = false;
                continue;
            }
            const RunFolders next{
                {util::JoinPath(source, name), platform::LookUpHostEntry(level.hostSource, name)},
                below};
            if (!CopyFolder(engine, next, withSubFolders, deleteMissing)) {
                allCopied = false;
            }
            if (engine.AbortRequested()) return false;
        }
    }
    if (!listing.complete) {
        ui.StandardMessage(listing.error + QStringLiteral("\nフォルダー：　") +
                               platform::MessageText(source.text()),
                           util::Buttons::Ok, util::Answer::Ok);
        return false;
    }
    return allCopied;
}

}  // namespace engine
