#include "engine/archive_update.h"
#include "util/missing_folder.h"

#include "archiver/archiver.h"
#include "engine/archive_history.h"
#include "util/destination_folder.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"

namespace engine {
namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

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
bool Failed(Engine& engine, const QString& archive, const archiver::CommandResult& result) {
    engine.Ui().Beep();
    engine.Ui().StandardMessage(QStringLiteral("アーカイブを更新できませんでした\n") +
                                    QString::fromStdString(result.message) +
                                    QStringLiteral("\nファイル：　") + archive,
                                util::Buttons::Ok, util::Answer::Ok);
    return false;
}

// The archive was updated with everything that could be read; the files or
// folders that could not be are shown, and the entry fails so that a later
// run tries them again.
bool PartlyDone(Engine& engine, const QString& archive, const archiver::CommandResult& result) {
    QString entries;
    for (const std::string& entry : result.failedEntries) {
        entries += QString::fromStdString(entry) + u'\n';
    }
    engine.Ui().Beep();
    engine.Ui().StandardMessage(
        QStringLiteral("読めないファイルを除いてアーカイブを更新しました\n") + entries +
            QStringLiteral("ファイル：　") + archive,
        util::Buttons::Ok, util::Answer::Ok);
    return false;
}

}  // namespace

archiver::UnlhaCommand LzhUpdate(const QString& archive, const QString& source,
                                 bool withSubFolders) {
    archiver::UnlhaCommand command;
    command.verb = archiver::UnlhaVerb::kUpdate;
    command.recursive = withSubFolders;
    command.archive = Utf8(archive);
    command.baseFolder = Utf8(source);
    return command;
}

archiver::UnlhaCommand LzhDelete(const QString& archive, const QString& source) {
    archiver::UnlhaCommand command;
    command.verb = archiver::UnlhaVerb::kDeleteMissing;
    command.archive = Utf8(archive);
    command.baseFolder = Utf8(source);
    command.patterns = {"*.*"};
    return command;
}

archiver::ZipCommand ZipUpdate(const QString& archive, const QString& source, bool withSubFolders,
                               bool archiveExists) {
    archiver::ZipCommand command;
    command.updateOnly = archiveExists;
    command.recursive = withSubFolders;
    command.archive = Utf8(archive);
    command.baseFolder = Utf8(source);
    command.patterns = {"*.*"};
    return command;
}

QString LzhUpdateCommand(const QString& archive, const QString& source, bool withSubFolders) {
    return QString::fromStdString(
        archiver::UnlhaCommandLine(LzhUpdate(archive, source, withSubFolders)));
}

QString LzhDeleteCommand(const QString& archive, const QString& source) {
    return QString::fromStdString(archiver::UnlhaCommandLine(LzhDelete(archive, source)));
}

QString ZipUpdateCommand(const QString& archive, const QString& source, bool withSubFolders,
                         bool archiveExists) {
    return QString::fromStdString(
        archiver::ZipCommandLine(ZipUpdate(archive, source, withSubFolders, archiveExists)));
}

bool UpdateArchive(Engine& engine, const QString& source, const QString& archive,
                   bool withSubFolders, bool deleteMissing) {
    const bool lzh = util::ExtensionOf(archive) == QLatin1String("LZH");
    if (!util::FolderExists(source)) {
        engine.Ui().StandardMessage(util::MissingFolderText(source), util::Buttons::Ok,
                                    util::Answer::Ok);
        return false;
    }
    // The first backup into a new folder: the archivers create files, not
    // folders. Only the last level is made, as for a plain copy.
    if (const auto error = util::MakeDestinationFolder(util::ParentPath(archive))) {
        engine.Ui().Beep();
        engine.Ui().StandardMessage(*error, util::Buttons::Ok, util::Answer::Ok);
        return false;
    }
    const ArchiveHistory history(engine, source, archive, withSubFolders, deleteMissing);
    if (!history.Kept()) return false;
    const auto result =
        lzh ? Run(engine, engine.Archiver().unlha, LzhUpdate(archive, source, withSubFolders))
            : Run(engine, engine.Archiver().zip,
                  ZipUpdate(archive, source, withSubFolders, util::FileExists(archive)));
    if (!result) return CannotWrite(engine);
    if (!result->ok()) return Failed(engine, archive, *result);
    if (deleteMissing) DeleteMissingFromArchive(engine, source, archive);
    if (!result->failedEntries.empty()) return PartlyDone(engine, archive, *result);
    return true;
}

bool DeleteMissingFromArchive(Engine& engine, const QString& source, const QString& archive) {
    if (util::ExtensionOf(archive) != QLatin1String("LZH")) return true;
    const auto result = Run(engine, engine.Archiver().unlha, LzhDelete(archive, source));
    if (!result) return CannotWrite(engine);
    if (!result->ok()) return Failed(engine, archive, *result);
    return true;
}

}  // namespace engine
