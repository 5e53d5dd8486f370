#include "engine/archive_update.h"
#include "util/missing_folder.h"

#include "archiver/archiver.h"
#include "engine/archive_history.h"
#include "engine/backup_history.h"
#include "platform/host_files.h"
#include "platform/placed_file.h"
#include "util/destination_folder.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"

#include <optional>

namespace engine {
namespace {

std::string Utf8(const platform::DrivePath& path) { return path.text().toStdString(); }

// The archiver could not be called at all: nothing can be written, so the
// whole run stops.
bool CannotWrite(Engine& engine) {
    engine.RequestAbort();
    engine.Ui().StandardMessage(QStringLiteral("ファイル書込みができません"), util::Buttons::Ok,
                                util::Answer::Ok);
    return false;
}

// Runs one archiver call with events let run around it; nothing when the
// library cannot be called.
template <typename Call, typename Command>
std::optional<archiver::CommandResult> Run(Engine& engine, const Call& library,
                                           const Command& command) {
    engine.Ui().LetEventsRun();
    std::optional<archiver::CommandResult> result;
    if (library) result = library(command);
    engine.Ui().LetEventsRun();
    return result;
}

// A failed archive: the beep, and the archiver's reason (which names the file
// it concerns) with the archive.
bool Failed(Engine& engine, const platform::DrivePath& archive,
            const archiver::CommandResult& result) {
    engine.Ui().Beep();
    engine.Ui().StandardMessage(QStringLiteral("アーカイブを更新できませんでした\n") +
                                    QString::fromStdString(result.message) +
                                    QStringLiteral("\nファイル：　") + archive.text(),
                                util::Buttons::Ok, util::Answer::Ok);
    return false;
}

// The archive was updated with everything that could be read; the files or
// folders that could not be are shown, and the entry fails so that a later
// run tries them again.
bool PartlyDone(Engine& engine, const platform::DrivePath& archive,
                const archiver::CommandResult& result) {
    QString entries;
    for (const std::string& entry : result.failedEntries) {
        entries += QString::fromStdString(entry) + u'\n';
    }
    engine.Ui().Beep();
    engine.Ui().StandardMessage(
        QStringLiteral("読めないファイルを除いてアーカイブを更新しました\n") + entries +
            QStringLiteral("ファイル：　") + archive.text(),
        util::Buttons::Ok, util::Answer::Ok);
    return false;
}

// Frees, from the history of past versions, the space of the archive on top of what is free
// now. False when nothing could be removed.
bool MakeRoomForArchive(Engine& engine, const platform::HostPath& hostFolder,
                        const platform::DrivePath& archive) {
    const std::optional<qint64> free = platform::FreeBytesOf(hostFolder);
    if (!free) return false;
    const platform::HostLook hostArchive =
        platform::LookUpHostEntry(hostFolder, util::FileNameOf(archive.text()));
    const qint64 size =
        hostArchive.path ? platform::LookAtHostFile(*hostArchive.path).size : qint64{0};
    return MakeRoomFor(engine, hostFolder, *free + size);
}

// Whether the source folder is there, and its host path (which a drive root
// that exists only as a letter lacks).
struct SourceFolder {
    bool exists = false;
    std::optional<platform::HostPath> hostPath;
};

SourceFolder LookAtSource(const platform::DrivePath& source) {
    if (source.text().size() > 3) {
        std::optional<platform::HostPath> host = util::ExistingFolder(source);
        return {host.has_value(), std::move(host)};
    }
    if (!util::FolderExists(source)) return {};
    return {true, platform::ToHostPath(source)};
}

}  // namespace

archiver::UnlhaCommand LzhUpdate(const platform::DrivePath& archive,
                                 const platform::DrivePath& source, bool withSubFolders) {
    archiver::UnlhaCommand command;
    command.verb = archiver::UnlhaVerb::kUpdate;
    command.recursive = withSubFolders;
    command.archive = Utf8(archive);
    command.baseFolder = Utf8(source);
    return command;
}

archiver::UnlhaCommand LzhDelete(const platform::DrivePath& archive,
                                 const platform::DrivePath& source) {
    archiver::UnlhaCommand command;
    command.verb = archiver::UnlhaVerb::kDeleteMissing;
    command.archive = Utf8(archive);
    command.baseFolder = Utf8(source);
    command.patterns = {"*.*"};
    return command;
}

archiver::ZipCommand ZipUpdate(const platform::DrivePath& archive,
                               const platform::DrivePath& source, bool withSubFolders,
                               bool archiveExists) {
    archiver::ZipCommand command;
    command.updateOnly = archiveExists;
    command.recursive = withSubFolders;
    command.archive = Utf8(archive);
    command.baseFolder = Utf8(source);
    command.patterns = {"*.*"};
    return command;
}

QString LzhUpdateCommand(const platform::DrivePath& archive, const platform::DrivePath& source,
                         bool withSubFolders) {
    return QString::fromStdString(
        archiver::UnlhaCommandLine(LzhUpdate(archive, source, withSubFolders)));
}

QString LzhDeleteCommand(const platform::DrivePath& archive, const platform::DrivePath& source) {
    return QString::fromStdString(archiver::UnlhaCommandLine(LzhDelete(archive, source)));
}

QString ZipUpdateCommand(const platform::DrivePath& archive, const platform::DrivePath& source,
                         bool withSubFolders, bool archiveExists) {
    return QString::fromStdString(
        archiver::ZipCommandLine(ZipUpdate(archive, source, withSubFolders, archiveExists)));
}

bool UpdateArchive(Engine& engine, const platform::DrivePath& source,
                   const platform::DrivePath& archive, bool withSubFolders, bool deleteMissing) {
    const bool lzh = util::ExtensionOf(archive.text()) == QLatin1String("LZH");
    const SourceFolder sourceFolder = LookAtSource(source);
    if (!sourceFolder.exists) {
        engine.Ui().StandardMessage(util::MissingFolderText(source), util::Buttons::Ok,
                                    util::Answer::Ok);
        return false;
    }
    // The first backup into a new folder: the archivers create files, not
    // folders. Only the last level is made, as for a plain copy.
    const util::DestinationFolder folder =
        util::PrepareDestinationFolder(util::ParentPath(archive));
    if (folder.error) {
        engine.Ui().Beep();
        engine.Ui().StandardMessage(*folder.error, util::Buttons::Ok, util::Answer::Ok);
        return false;
    }
    // The archiver is handed drive paths and resolves them itself; the
    // history works on the host paths, found here once.
    std::optional<ArchiveHistory> history;
    if (engine.HistoryDays() > 0 && sourceFolder.hostPath) {
        const platform::HostLook hostArchive =
            platform::LookUpHostEntry(folder.hostPath, util::FileNameOf(archive.text()));
        history.emplace(engine, archive, *sourceFolder.hostPath, *hostArchive.path, withSubFolders,
                        deleteMissing);
        if (!history->Kept()) return false;
    }
    const auto update = [&] {
        return lzh ? Run(engine, engine.Archiver().unlha,
                         LzhUpdate(archive, source, withSubFolders))
                   : Run(engine, engine.Archiver().zip,
                         ZipUpdate(archive, source, withSubFolders, util::FileExists(archive)));
    };
    std::optional<archiver::CommandResult> result = update();
    // A full disk: the oldest past versions on it make room, at least an old archive's worth
    // at a time, and the update runs again.
    while (result && result->diskFull && MakeRoomForArchive(engine, folder.hostPath, archive)) {
        result = update();
    }
    if (!result) return CannotWrite(engine);
    // An update that could not read every file still wrote the rest.
    engine.CountMembers(result->counts);
    const bool partlyDone = !result->failedEntries.empty();
    if (!result->ok() && !partlyDone) return Failed(engine, archive, *result);
    const bool deleted = !deleteMissing || DeleteMissingFromArchive(engine, source, archive);
    if (partlyDone) return PartlyDone(engine, archive, *result);
    return deleted;
}

bool DeleteMissingFromArchive(Engine& engine, const platform::DrivePath& source,
                              const platform::DrivePath& archive) {
    if (util::ExtensionOf(archive.text()) != QLatin1String("LZH")) return true;
    const auto result = Run(engine, engine.Archiver().unlha, LzhDelete(archive, source));
    if (!result) return CannotWrite(engine);
    engine.CountMembers(result->counts);
    if (!result->ok()) return Failed(engine, archive, *result);
    return true;
}

}  // namespace engine
