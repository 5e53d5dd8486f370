#include "engine/restore_plan.h"

#include "engine/backup_history.h"

#include "platform/dir_search.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "util/text_case.h"

#include <QFile>
#include <QSet>

namespace engine {
namespace {

QString Joined(const QString& folder, const QString& name) {
    return folder.isEmpty() ? name : folder + u'\\' + name;
}

// The part of a backup name below `below`, "/"-separated for the host; null
// when the name lies elsewhere.
QString BelowPart(const QString& name, const QString& below) {
    if (below.isEmpty()) return QString(name).replace(u'\\', u'/');
    const QString prefix = util::AsciiUpper(below) + u'\\';
    if (!util::AsciiUpper(name.left(prefix.size())).startsWith(prefix)) return {};
    return name.mid(prefix.size()).replace(u'\\', u'/');
}

class Chosen {
  public:
    explicit Chosen(const QStringList& names) {
        for (const QString& name : names) upper_.insert(util::AsciiUpper(name));
    }
    bool Wants(const QString& name) const {
        return upper_.isEmpty() || upper_.contains(util::AsciiUpper(name));
    }

  private:
    QSet<QString> upper_;
};

void AddFolderCopy(RestorePlan& plan, const RestoreRequest& request,
                   const platform::HostPath& hostPath, const QString& relative,
                   const Chosen& chosen) {
    const platform::SearchResult listing = platform::SearchHostFolder(
        hostPath, QStringLiteral("*.*"), platform::SearchDetail::NoFatBits);
    const QString& hostFolder = hostPath.text();
    if (!listing.complete) plan.unread.append(listing.error);
    // A name with "\\" or ":" (put there by something else) has no drive form.
    for (const QString& name : listing.passedOver)
        plan.unread.append(platform::MessageText(hostFolder + u'/' + name));
    for (const platform::FoundEntry& entry : listing.entries) {
        const QString name = Joined(relative, entry.name);
        // The backup's history is not part of the backup.
        if (entry.isFolder && relative.isEmpty() && entry.name == HistoryFolderName()) continue;
        if (entry.isFolder) {
            if (request.entry.IncludesSubFolders()) {
                AddFolderCopy(plan, request, platform::HostPath(hostFolder + u'/' + entry.name),
                              name, chosen);
            }
            continue;
        }
        if (!chosen.Wants(name)) continue;
        const QString part = BelowPart(name, request.below);
        if (part.isEmpty()) continue;
        RestoreItem item;
        item.name = name;
        item.target = platform::HostPath(request.targetRoot.text() + u'/' + part);
        item.timeNs = entry.modifiedNs;
        item.size = entry.size;
        item.coarseTime = listing.coarseTimes;
        item.backupFile = platform::HostPath(hostFolder + u'/' + entry.name);
        plan.items.push_back(std::move(item));
    }
}

void PlanFolderCopy(RestorePlan& plan, const RestoreRequest& request) {
    QString start = request.backup.text();
    if (!request.below.isEmpty()) start += u'\\' + request.below;
    const platform::HostLook look = platform::LookUpHostPath(platform::DrivePath(start));
    if (!look.path || look.found != platform::HostLook::Kind::Folder) {
        plan.error = QStringLiteral("the backup folder %1 is not there").arg(start);
        return;
    }
    plan.readable = true;
    AddFolderCopy(plan, request, *look.path, request.below, Chosen(request.only));
}

void PlanArchive(RestorePlan& plan, const RestoreRequest& request) {
    const std::optional<platform::HostPath> host = platform::ToHostPath(request.backup);
    if (!host) {
        plan.error = QStringLiteral("the archive %1 cannot be found").arg(request.backup.text());
        return;
    }
    std::string error;
    std::shared_ptr<const archiver::ArchiveReader> reader = archiver::ArchiveReader::Open(
        platform::HostBytes(host->text()).toStdString(),
        plan.kind == BackupKind::Lzh ? archiver::ArchiveKind::Lzh : archiver::ArchiveKind::Zip,
        error);
    if (!reader) {
        plan.error = QString::fromStdString(error);
        return;
    }
    plan.readable = true;
    plan.archive = reader;
    if (reader->damaged()) plan.unread.append(QString::fromStdString(reader->damage()));
    const Chosen chosen(request.only);
    for (const archiver::StoredMember& member : reader->members()) {
        if (member.isDirectory) continue;
        const QString name = platform::HostText(member.name);
        if (member.unsafeName) {
            plan.refused.append(name);
            continue;
        }
        if (!chosen.Wants(name)) continue;
        const QString part = BelowPart(name, request.below);
        if (part.isEmpty()) continue;
        RestoreItem item;
        item.name = name;
        item.target = platform::HostPath(request.targetRoot.text() + u'/' + part);
        item.timeNs = member.unixTime * 1'000'000'000;
        item.size = static_cast<qint64>(member.originalSize);
        item.coarseTime = !member.exactTime;
        item.member = member.index;
        plan.items.push_back(std::move(item));
    }
}

}  // namespace

BackupKind BackupKindOf(const store::BackupEntry& entry) {
    switch (entry.CompressionOf()) {
        case store::Compression::Lzh:
            return BackupKind::Lzh;
        case store::Compression::Zip:
            return BackupKind::Zip;
        case store::Compression::None:
            break;
    }
    return BackupKind::FolderCopy;
}

const store::BackupEntry* HoldingRegistration(const std::vector<store::BackupEntry>& entries,
                                              const platform::DrivePath& folder, QString& below) {
    const QString key = util::AsciiUpper(folder.text());
    const store::BackupEntry* best = nullptr;
    for (const store::BackupEntry& entry : entries) {
        const QString source = util::AsciiUpper(entry.sourceFolder);
        const bool same = key == source;
        const bool inside = entry.IncludesSubFolders() &&
                            key.startsWith(source.endsWith(u'\\') ? source : source + u'\\');
        if ((same || inside) && (!best || entry.sourceFolder.size() > best->sourceFolder.size())) {
            best = &entry;
        }
    }
    if (best) {
        below = folder.text().mid(best->sourceFolder.size());
        while (below.startsWith(u'\\')) below.remove(0, 1);
    }
    return best;
}

RestorePlan PlanRestore(const RestoreRequest& request) {
    RestorePlan plan;
    plan.kind = BackupKindOf(request.entry);
    plan.backup = request.backup;
    plan.targetRoot = request.targetRoot;
    if (plan.kind == BackupKind::FolderCopy) {
        PlanFolderCopy(plan, request);
    } else {
        PlanArchive(plan, request);
    }
    return plan;
}

}  // namespace engine
