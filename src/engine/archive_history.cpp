#include "engine/archive_history.h"

#include "archiver/history_members.h"
#include "engine/backup_history.h"
#include "platform/canonical_path.h"
#include "platform/file_moves.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "platform/placed_file.h"
#include "util/path_names.h"

#include <cerrno>

namespace engine {
namespace {

std::filesystem::path HostFileSystemPath(const platform::HostPath& hostPath) {
    return std::filesystem::path(platform::HostBytes(hostPath).toStdString());
}

bool Refuse(Engine& engine, const platform::DrivePath& archive, const QString& why) {
    engine.Ui().Beep();
    engine.Ui().StandardMessage(
        QStringLiteral("古いメンバーを履歴に残せないので、アーカイブを更新しませんでした\n") + why +
            QStringLiteral("\nファイル：　") + archive.text(),
        util::Buttons::Ok, util::Answer::Ok);
    return false;
}

}  // namespace

ArchiveHistory::ArchiveHistory(Engine& engine, const platform::DrivePath& archive,
                               const platform::HostPath& hostSource,
                               const platform::HostPath& hostArchive, bool withSubFolders,
                               bool deleteMissing) {
    if (engine.HistoryDays() > 0) {
        kept_ = Keep(engine, archive, hostSource, hostArchive, withSubFolders, deleteMissing);
    }
}

ArchiveHistory::~ArchiveHistory() {
    if (linked_.isEmpty()) return;
    // An update that did not run, failed or changed nothing left the archive
    // as it was: the history would only hold it a second time.
    if (platform::SameHostFile(linked_, hostArchive_)) {
        platform::RemoveHostTree(linked_);
        return;
    }
    // A failure leaves the whole old archive as the history: nothing is lost.
    if (util::ExtensionOf(hostArchive_.text()) == QLatin1String("LZH")) {
        archiver::ShrinkLzhHistory(HostFileSystemPath(linked_), HostFileSystemPath(hostArchive_));
    } else {
        archiver::ShrinkZipHistory(HostFileSystemPath(linked_), HostFileSystemPath(hostArchive_));
    }
}

bool ArchiveHistory::Keep(Engine& engine, const platform::DrivePath& archive,
                          const platform::HostPath& hostSource,
                          const platform::HostPath& hostArchive, bool withSubFolders,
                          bool deleteMissing) {
    const platform::HostPath folder = ArchiveHistoryFolder(hostArchive);
    engine.AddHistoryFolder(folder);
    PruneHistoryFolder(engine, folder);
    // A destination that is a link is updated where it points, so the old
    // archive to keep is the file there, not the link.
    const platform::HostPath real = platform::CanonicalPath(hostArchive);
    if (platform::LookAtHostFile(real).kind != platform::HostFileLook::Kind::File) {
        return true;
    }
    const int made = platform::MakeHostFolder(folder);
    if (made != 0 && made != EEXIST) {
        return Refuse(engine, archive,
                      folder.text() + QStringLiteral(": ") + QString::number(made));
    }
    const bool lzh = util::ExtensionOf(archive.text()) == QLatin1String("LZH");
    const platform::HostPath history = ArchiveHistoryName(hostArchive, engine.RunStart());
    if (platform::LinkHostFile(real, history) == 0) {
        hostArchive_ = real;
        linked_ = history;
        return true;
    }
    archiver::HistoryRequest request;
    request.kind = lzh ? archiver::HistoryKind::kLzh : archiver::HistoryKind::kZip;
    request.archive = HostFileSystemPath(real);
    request.baseFolder = HostFileSystemPath(hostSource);
    request.recursive = withSubFolders;
    // Only the LZH update deletes members whose files are gone.
    request.deleteMissing = deleteMissing && lzh;
    request.history = HostFileSystemPath(history);
    engine.Ui().LetEventsRun();
    const archiver::HistoryResult kept = archiver::KeepMembersToBeReplaced(request);
    engine.Ui().LetEventsRun();
    if (!kept.ok) return Refuse(engine, archive, QString::fromStdString(kept.error));
    return true;
}

}  // namespace engine
