#include "engine/archive_history.h"

#include "archiver/history_members.h"
#include "engine/backup_history.h"
#include "platform/host_path.h"
#include "platform/placed_file.h"
#include "util/path_names.h"

#include <QFile>

#include <cerrno>

namespace engine {
namespace {

std::filesystem::path HostFileSystemPath(const QString& hostPath) {
    return std::filesystem::path(QFile::encodeName(hostPath).toStdString());
}

bool Refuse(Engine& engine, const QString& archive, const QString& why) {
    engine.Ui().Beep();
    engine.Ui().StandardMessage(
        QStringLiteral("古いメンバーを履歴に残せないので、アーカイブを更新しませんでした\n") + why +
            QStringLiteral("\nファイル：　") + archive,
        util::Buttons::Ok, util::kAnswerOk);
    return false;
}

}  // namespace

bool KeepArchiveHistory(Engine& engine, const QString& source, const QString& archive,
                        bool withSubFolders, bool deleteMissing) {
    if (engine.HistoryDays() <= 0) return true;
    const std::optional<QString> hostArchive = platform::ToHostPath(archive);
    const std::optional<QString> hostSource = platform::ToHostPath(source);
    if (!hostArchive || !hostSource) return true;
    const QString folder = ArchiveHistoryFolder(*hostArchive);
    engine.AddHistoryFolder(folder);
    PruneHistoryFolder(engine, folder);
    if (platform::LookAtHostFile(*hostArchive).kind != platform::HostFileLook::Kind::File) {
        return true;
    }
    const int made = platform::MakeHostFolder(folder);
    if (made != 0 && made != EEXIST) {
        return Refuse(engine, archive, folder + QStringLiteral(": ") + QString::number(made));
    }
    const bool lzh = util::ExtensionOf(archive) == QLatin1String("LZH");
    archiver::HistoryRequest request;
    request.kind = lzh ? archiver::HistoryKind::kLzh : archiver::HistoryKind::kZip;
    request.archive = HostFileSystemPath(*hostArchive);
    request.baseFolder = HostFileSystemPath(*hostSource);
    request.recursive = withSubFolders;
    // Only the LZH update deletes members whose files are gone.
    request.deleteMissing = deleteMissing && lzh;
    request.history = HostFileSystemPath(ArchiveHistoryName(*hostArchive, engine.RunStart()));
    engine.Ui().LetEventsRun();
    const archiver::HistoryResult kept = archiver::KeepMembersToBeReplaced(request);
    engine.Ui().LetEventsRun();
    if (!kept.ok) return Refuse(engine, archive, QString::fromStdString(kept.error));
    return true;
}

}  // namespace engine
