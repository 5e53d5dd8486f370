#include "engine/restore_history.h"

#include "engine/backup_history.h"
#include "platform/dir_search.h"
#include "platform/host_path.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace engine {
namespace {

struct HistoryPart {
    platform::DrivePath drivePath;  // the history folder of one run, or one history archive
    platform::HostPath hostPath;
    QDateTime made;
};

// The history of a folder copy: one folder per run.
std::vector<HistoryPart> FolderCopyHistory(const platform::DrivePath& backup) {
    std::vector<HistoryPart> parts;
    const std::optional<platform::HostPath> host = platform::ToHostPath(backup);
    if (!host) return parts;
    const QString hostHistory = host->text() + u'/' + HistoryFolderName();
    const platform::DrivePath driveHistory = util::JoinPath(backup, HistoryFolderName());
    const platform::SearchResult listing = platform::SearchHostFolder(
        platform::HostPath(hostHistory), QStringLiteral("*.*"), platform::SearchDetail::NoFatBits);
    for (const platform::FoundEntry& entry : listing.entries) {
        const auto made = HistoryEntryTime(entry.name, entry.isFolder);
        if (entry.isFolder && made) {
            parts.push_back({util::JoinPath(driveHistory, entry.name),
                             platform::HostPath(hostHistory + u'/' + entry.name), *made});
        }
    }
    return parts;
}

// The history of an archive: the archives of its name and kind beside it.
std::vector<HistoryPart> ArchiveHistory(const platform::DrivePath& backup) {
    std::vector<HistoryPart> parts;
    const std::optional<platform::HostPath> host = platform::ToHostPath(backup);
    if (!host) return parts;
    const QFileInfo archive(host->text());
    const QString head = util::AsciiUpper(archive.completeBaseName() + u' ');
    const QString tail = util::AsciiUpper(u'.' + archive.suffix());
    const QString hostHistory = ArchiveHistoryFolder(*host).text();
    const platform::DrivePath driveHistory =
        util::JoinPath(util::ParentPath(backup), HistoryFolderName());
    const platform::SearchResult listing = platform::SearchHostFolder(
        platform::HostPath(hostHistory), QStringLiteral("*.*"), platform::SearchDetail::NoFatBits);
    for (const platform::FoundEntry& entry : listing.entries) {
        const QString upper = util::AsciiUpper(entry.name);
        if (entry.isFolder || !upper.startsWith(head) || !upper.endsWith(tail)) continue;
        if (const auto made = HistoryEntryTime(entry.name, false)) {
            parts.push_back({util::JoinPath(driveHistory, entry.name),
                             platform::HostPath(hostHistory + u'/' + entry.name), *made});
        }
    }
    return parts;
}

}  // namespace

std::vector<FileVersion> VersionsOfPlan(const RestorePlan& plan, const RestoreRequest& request) {
    std::vector<FileVersion> versions;
    // A plan that read its backup found it on a drive, so it has a host path.
    const platform::HostPath hostBackup =
        platform::ToHostPath(request.backup).value_or(platform::HostPath());
    for (const RestoreItem& item : plan.items) {
        versions.push_back({item, {}, false, hostBackup});
    }
    std::vector<HistoryPart> parts = plan.kind == BackupKind::FolderCopy
                                         ? FolderCopyHistory(request.backup)
                                         : ArchiveHistory(request.backup);
    std::sort(parts.begin(), parts.end(),
              [](const HistoryPart& a, const HistoryPart& b) { return a.made > b.made; });
    for (const HistoryPart& part : parts) {
        RestoreRequest inPart = request;
        inPart.backup = part.drivePath;
        const RestorePlan partPlan = PlanRestore(inPart);
        for (RestoreItem item : partPlan.items) {
            if (plan.kind != BackupKind::FolderCopy) item.archive = partPlan.archive;
            versions.push_back({std::move(item), part.made, true, part.hostPath});
        }
    }
    return versions;
}

std::vector<FileVersion> VersionsOfFile(const RestoreRequest& request, const QString& name) {
    RestoreRequest one = request;
    one.only = QStringList{name};
    const RestorePlan plan = PlanRestore(one);
    std::vector<FileVersion> versions;
    if (!plan.readable) return versions;
    versions = VersionsOfPlan(plan, one);
    std::stable_sort(
        versions.begin(), versions.end(),
        [](const FileVersion& a, const FileVersion& b) { return a.item.timeNs > b.item.timeNs; });
    return versions;
}

RestorePlan PlanRestoreAsOf(const RestoreRequest& request, const std::optional<QDateTime>& at) {
    RestorePlan plan = PlanRestore(request);
    if (at && plan.readable) KeepVersionsAsOf(plan, request, *at);
    return plan;
}

void KeepVersionsAsOf(RestorePlan& plan, const RestoreRequest& request, const QDateTime& at) {
    const qint64 atNs = at.toMSecsSinceEpoch() * 1'000'000;
    // The newest fitting version of each name; the backup's own comes first,
    // so it wins over a history copy of the same time.
    QHash<QString, qsizetype> chosen;
    std::vector<FileVersion> versions = VersionsOfPlan(plan, request);
    for (qsizetype i = 0; i < static_cast<qsizetype>(versions.size()); ++i) {
        const FileVersion& version = versions[static_cast<size_t>(i)];
        if (version.item.timeNs > atNs) continue;
        if (version.inHistory && version.keptSince <= at) continue;
        const QString key = util::AsciiUpper(version.item.name);
        const auto it = chosen.constFind(key);
        if (it == chosen.cend() ||
            versions[static_cast<size_t>(*it)].item.timeNs < version.item.timeNs) {
            chosen.insert(key, i);
        }
    }
    std::vector<qsizetype> order(chosen.cbegin(), chosen.cend());
    std::sort(order.begin(), order.end());
    plan.items.clear();
    for (const qsizetype i : order) plan.items.push_back(versions[static_cast<size_t>(i)].item);
}

}  // namespace engine
