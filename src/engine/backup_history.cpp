#include "engine/backup_history.h"

#include "platform/clock.h"
#include "platform/dir_search.h"
#include "platform/file_moves.h"
#include "platform/host_files.h"
#include "platform/host_path.h"
#include "platform/placed_file.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace engine {
namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HHmmss");
constexpr qsizetype kStampLength = 17;
// Room left beside a file's own bytes when history is removed to make room.
constexpr qint64 kRoomMargin = 64 * 1024;

QString ErrorText(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

bool Exists(const platform::HostPath& hostPath) {
    return platform::LookAtHostFile(hostPath).kind != platform::HostFileLook::Kind::Nothing;
}

// "<stamp>" or "<stamp>-n".
std::optional<QDateTime> StampTime(const QString& text) {
    if (text.size() < kStampLength) return std::nullopt;
    const QString rest = text.mid(kStampLength);
    if (!rest.isEmpty()) {
        bool number = false;
        if (!rest.startsWith(u'-') || (rest.mid(1).toInt(&number), !number)) return std::nullopt;
    }
    QDateTime time = QDateTime::fromString(text.left(kStampLength), kStampFormat);
    if (!time.isValid()) return std::nullopt;
    return time;
}

// The first of "<base>", "<base>-2", ... that names nothing yet.
QString FreeStamp(const QString& stamp,
                  const std::function<platform::HostPath(const QString&)>& pathOf) {
    QString candidate = stamp;
    for (int n = 2; Exists(pathOf(candidate)); ++n) {
        candidate = stamp + u'-' + QString::number(n);
    }
    return candidate;
}

struct HistoryEntry {
    platform::HostPath path;
    QDateTime made;
};

std::vector<HistoryEntry> EntriesOf(const platform::HostPath& hostHistory) {
    std::vector<HistoryEntry> entries;
    const platform::SearchResult listing = platform::SearchHostFolder(
        hostHistory, QStringLiteral("*.*"), platform::SearchDetail::NoFatBits);
    for (const platform::FoundEntry& found : listing.entries) {
        if (const auto made = HistoryEntryTime(found.name, found.isFolder)) {
            entries.push_back({platform::HostPath(hostHistory.text() + u'/' + found.name), *made});
        }
    }
    return entries;
}

QString RemovedLine(const HistoryEntry& entry, const QString& why) {
    return QStringLiteral("history removed (%1): %2").arg(why, entry.path.text());
}

// Shows what the copy has to tell, as it happened.
util::CopyResult Told(Engine& engine, util::CopyResult result) {
    if (!result.message.isEmpty()) {
        engine.Ui().StandardMessage(result.message, util::Buttons::Ok, util::Answer::Ok);
    }
    return result;
}

}  // namespace

QString HistoryFolderName() { return QStringLiteral(".kibako-history"); }

QString HistoryStamp(const QDateTime& time) { return time.toString(kStampFormat); }

std::optional<QDateTime> HistoryEntryTime(const QString& name, bool isFolder) {
    if (isFolder) return StampTime(name);
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype space = name.lastIndexOf(u' ', dot);
    if (dot < 0 || space < 0) return std::nullopt;
    return StampTime(name.mid(space + 1, dot - space - 1));
}

FolderHistory::FolderHistory(const platform::DrivePath& driveRoot,
                             const platform::HostPath& hostRoot, const QDateTime& runStart)
    : driveRoot_(driveRoot), hostRoot_(hostRoot) {
    const QString folder = HostHistoryFolder().text();
    stamp_ = FreeStamp(HistoryStamp(runStart), [&folder](const QString& stamp) {
        return platform::HostPath(folder + u'/' + stamp);
    });
}

std::optional<platform::HostPath> FolderHistory::KeptPathOf(const platform::DrivePath& driveTarget,
                                                            QString& error) {
    const QString& root = driveRoot_.text();
    const QString prefix = root.endsWith(u'\\') ? root : root + u'\\';
    if (!util::AsciiUpper(driveTarget.text()).startsWith(util::AsciiUpper(prefix))) {
        error = QStringLiteral("not below the destination");
        return std::nullopt;
    }
    const QStringList names =
        driveTarget.text().mid(prefix.size()).split(u'\\', Qt::SkipEmptyParts);
    if (names.isEmpty()) {
        error = QStringLiteral("not below the destination");
        return std::nullopt;
    }
    // The history folder, the run's folder and the file's folders, each made
    // on first need.
    platform::HostPath folder = hostRoot_;
    const QStringList levels =
        QStringList{HistoryFolderName(), stamp_} + names.mid(0, names.size() - 1);
    for (const QString& level : levels) {
        folder = platform::HostPath(folder.text() + u'/' + level);
        if (madeFolders_.contains(folder)) continue;
        const int code = platform::MakeHostFolder(folder);
        if (code != 0 && (code != EEXIST || platform::LookAtHostFile(folder).kind !=
                                                platform::HostFileLook::Kind::Folder)) {
            error = folder.text() + QStringLiteral(": ") + ErrorText(code);
            return std::nullopt;
        }
        madeFolders_.insert(folder);
    }
    return platform::HostPath(folder.text() + u'/' + names.last());
}

std::optional<FolderHistory::Held> FolderHistory::HoldReplaced(
    const platform::DrivePath& driveTarget, const platform::HostPath& hostTarget, QString& error) {
    const std::optional<platform::HostPath> kept = KeptPathOf(driveTarget, error);
    if (!kept) return std::nullopt;
    int code = platform::LinkHostFile(hostTarget, *kept);
    if (code == 0) return Held{*kept, hostTarget, false};
    // FAT and other file systems without links: the file is moved, and the
    // copy lands where it was.
    if (code == EPERM || code == EOPNOTSUPP || code == EMLINK || code == ENOSYS) {
        code = platform::MoveHostFile(hostTarget, *kept);
        if (code == 0) return Held{*kept, hostTarget, true};
    }
    error = ErrorText(code);
    return std::nullopt;
}

void FolderHistory::Release(const Held& held, bool replaced) {
    if (replaced) return;
    if (held.moved) {
        platform::MoveHostFile(held.kept, held.target);
    } else {
        platform::RemoveHostFile(held.kept);
    }
}

bool FolderHistory::KeepDeleted(const platform::DrivePath& driveTarget,
                                const platform::HostPath& hostTarget, QString& error) {
    const std::optional<platform::HostPath> kept = KeptPathOf(driveTarget, error);
    if (!kept) return false;
    if (const int code = platform::MoveHostFile(hostTarget, *kept)) {
        error = ErrorText(code);
        return false;
    }
    return true;
}

FolderHistoryScope::FolderHistoryScope(Engine& engine, const platform::DrivePath& driveDestination,
                                       const std::optional<platform::HostPath>& hostDestination)
    : engine_(engine) {
    if (engine.HistoryDays() <= 0) return;
    if (!hostDestination) return;
    QString root = hostDestination->text();
    while (root.size() > 1 && root.endsWith(u'/')) root.chop(1);
    history_.emplace(driveDestination, platform::HostPath(root), engine.RunStart());
    engine.AddHistoryFolder(history_->HostHistoryFolder());
    PruneHistoryFolder(engine, history_->HostHistoryFolder());
    engine.SetHistory(&*history_);
}

FolderHistoryScope::~FolderHistoryScope() {
    if (history_) engine_.SetHistory(nullptr);
}

util::CopyResult CopyKeepingHistory(Engine& engine, const util::ResolvedCopy& copy,
                                    const platform::CopyProgress& progress) {
    const QString& hostTarget = copy.hostTarget.text();
    const qsizetype slash = hostTarget.lastIndexOf(u'/');
    const platform::HostPath hostFolder(slash == 0 ? QStringLiteral("/") : hostTarget.left(slash));
    const qint64 bytes = copy.sourceSize;
    const auto makeRoom = [&engine, hostFolder, bytes]() {
        return MakeRoomFor(engine, hostFolder, bytes);
    };
    FolderHistory* history = engine.History();
    if (!copy.targetExists || history == nullptr)
        return Told(engine, util::CopyResolvedFile(copy, progress, makeRoom));
    QString error;
    const std::optional<FolderHistory::Held> held =
        history->HoldReplaced(copy.target, copy.hostTarget, error);
    if (!held) {
        return Told(
            engine,
            {false, false, true,
             QStringLiteral("古いバックアップを履歴に残せないので、置き換えませんでした\n") +
                 error + QStringLiteral("\nファイル：　") + copy.target.text()});
    }
    const util::CopyResult result = Told(engine, util::CopyResolvedFile(copy, progress, makeRoom));
    FolderHistory::Release(*held, result.copied);
    return result;
}

bool DeleteKeepingHistory(Engine& engine, const platform::DrivePath& driveTarget,
                          const platform::HostPath& hostTarget) {
    FolderHistory* history = engine.History();
    if (history == nullptr) return util::DeleteOneFile(driveTarget);
    QString error;
    if (history->KeepDeleted(driveTarget, hostTarget, error)) return true;
    engine.Ui().StandardMessage(
        QStringLiteral("古いバックアップを履歴に残せないので、削除しませんでした\n") + error +
            QStringLiteral("\nファイル：　") + driveTarget.text(),
        util::Buttons::Ok, util::Answer::Ok);
    return false;
}

QStringList PruneHistory(const platform::HostPath& hostHistory, int days, const QDateTime& now) {
    QStringList lines;
    if (days <= 0) return lines;
    const QDateTime limit = now.addDays(-days);
    for (const HistoryEntry& entry : EntriesOf(hostHistory)) {
        if (entry.made >= limit) continue;
        const QString why = QStringLiteral("older than %1 days").arg(days);
        lines.append(platform::RemoveHostTree(entry.path)
                         ? RemovedLine(entry, why)
                         : QStringLiteral("history could not be removed: ") + entry.path.text());
    }
    return lines;
}

QStringList MakeRoomFromHistory(const QList<platform::HostPath>& hostHistories,
                                const platform::HostPath& hostPath, qint64 bytes,
                                const QDateTime& before) {
    QStringList lines;
    const std::optional<quint64> disk = platform::FileSystemOf(hostPath);
    if (!disk) return lines;
    std::vector<HistoryEntry> entries;
    for (const platform::HostPath& folder : hostHistories) {
        if (platform::FileSystemOf(folder) != disk) continue;
        for (HistoryEntry& entry : EntriesOf(folder)) {
            // This run's own history holds files whose new copies are not
            // all in place yet.
            if (entry.made < before) entries.push_back(std::move(entry));
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const HistoryEntry& a, const HistoryEntry& b) { return a.made < b.made; });
    for (const HistoryEntry& entry : entries) {
        const std::optional<qint64> free = platform::FreeBytesOf(hostPath);
        if (free && *free >= bytes + kRoomMargin) break;
        if (platform::RemoveHostTree(entry.path)) {
            lines.append(RemovedLine(entry, QStringLiteral("the disk was full")));
        }
    }
    return lines;
}

platform::HostPath ArchiveHistoryFolder(const platform::HostPath& hostArchive) {
    const QString& archive = hostArchive.text();
    return platform::HostPath(archive.left(archive.lastIndexOf(u'/')) + u'/' + HistoryFolderName());
}

platform::HostPath ArchiveHistoryName(const platform::HostPath& hostArchive,
                                      const QDateTime& runStart) {
    const QFileInfo info(hostArchive.text());
    const QString folder = ArchiveHistoryFolder(hostArchive).text();
    const QString head = folder + u'/' + info.completeBaseName() + u' ';
    const QString tail = u'.' + info.suffix();
    const QString stamp = FreeStamp(HistoryStamp(runStart), [&](const QString& candidate) {
        return platform::HostPath(head + candidate + tail);
    });
    return platform::HostPath(head + stamp + tail);
}

bool MakeRoomFor(Engine& engine, const platform::HostPath& hostPath, qint64 bytes) {
    // The run's own history is named to the second it began in.
    const QDateTime runStart = engine.RunStart();
    const QStringList lines = MakeRoomFromHistory(engine.HistoryFolders(), hostPath, bytes,
                                                  runStart.addMSecs(-runStart.time().msec()));
    for (const QString& line : lines) engine.NoteHistory(line);
    return !lines.isEmpty();
}

void PruneHistoryFolder(Engine& engine, const platform::HostPath& hostHistory) {
    for (const QString& line : PruneHistory(hostHistory, engine.HistoryDays(), platform::Now())) {
        engine.NoteHistory(line);
    }
}

}  // namespace engine
