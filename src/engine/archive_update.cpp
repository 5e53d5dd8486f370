#include "engine/archive_update.h"

#include "archiver/archiver.h"
#include "util/file_ops.h"
#include "util/numbers.h"
#include "util/path_names.h"

namespace engine {
namespace {

const QChar kQuote = u'"';

QString Quoted(const QString& text) { return kQuote + text + kQuote; }
QString QuotedFolder(const QString& folder) { return Quoted(folder + u'\\'); }

// The archiver could not be called at all: nothing can be written, so the
// whole run stops.
bool CannotWrite(Engine& engine) {
    engine.RequestAbort();
    engine.Ui().StandardMessage(QStringLiteral("ファイル書込みができません"), util::Buttons::Ok,
                                util::kAnswerOk);
    return false;
}

// Runs one archiver call with events let run around it; nothing when the
// library cannot be called.
std::optional<int> Call(Engine& engine, const ArchiverBackend::Call& library,
                        const QString& commandLine) {
    engine.Ui().LetEventsRun();
    std::optional<int> code;
    if (library) code = library(commandLine.toStdString());
    engine.Ui().LetEventsRun();
    return code;
}

}  // namespace

QString LzhUpdateCommand(const QString& archive, const QString& source, bool withSubFolders) {
    return (withSubFolders ? QStringLiteral("u -r2x1a2 ") : QStringLiteral("u ")) +
           Quoted(archive) + u' ' + QuotedFolder(source);
}

QString LzhDeleteCommand(const QString& archive, const QString& source) {
    return QStringLiteral("d -jn ") + Quoted(archive) + u' ' + QuotedFolder(source) +
           QStringLiteral(" *.*");
}

QString ZipUpdateCommand(const QString& archive, const QString& source, bool withSubFolders,
                         bool archiveExists) {
    const QString switchWord = QString(archiveExists ? QStringLiteral("-u") : QStringLiteral("-")) +
                               (withSubFolders ? QStringLiteral("r ") : QStringLiteral(" "));
    return switchWord + Quoted(archive) + u' ' + QuotedFolder(source) + QStringLiteral(" *.*");
}

bool UpdateArchive(Engine& engine, const QString& source, const QString& archive,
                   bool withSubFolders, bool deleteMissing) {
    const bool lzh = util::ExtensionOf(archive) == QLatin1String("LZH");
    // The first backup into a new folder: the archivers create files, not folders.
    const QString folder = util::ParentPath(archive);
    if (folder.size() > 2 && !util::FolderExists(folder)) util::MakeFolder(folder);
    const QString commandLine =
        lzh ? LzhUpdateCommand(archive, source, withSubFolders)
            : ZipUpdateCommand(archive, source, withSubFolders, util::FileExists(archive));
    const auto code =
        Call(engine, lzh ? engine.Archiver().unlha : engine.Archiver().zip, commandLine);
    if (!code) return CannotWrite(engine);
    if (*code != 0) {
        engine.Ui().Beep();
        return false;
    }
    if (deleteMissing) DeleteMissingFromArchive(engine, source, archive);
    return true;
}

bool DeleteMissingFromArchive(Engine& engine, const QString& source, const QString& archive) {
    if (util::ExtensionOf(archive) != QLatin1String("LZH")) return true;
    const auto code = Call(engine, engine.Archiver().unlha, LzhDeleteCommand(archive, source));
    if (!code) return CannotWrite(engine);
    if (*code != 0) {
        engine.Ui().Beep();
        return false;
    }
    return true;
}

}  // namespace engine
