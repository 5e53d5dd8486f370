#include "engine/backup_verify.h"

#include "engine/backup_times.h"
#include "engine/resolve_destination.h"
#include "engine/restore_plan.h"
#include "platform/dir_search.h"
#include "platform/file_compare.h"
#include "platform/host_path.h"
#include "platform/regular_file.h"
#include "util/text_case.h"

#include <QFile>
#include <QHash>

#include <cstring>
#include <vector>

namespace engine {
namespace {

struct SourceFile {
    QString name;
    platform::HostPath hostPath;
    qint64 size = 0;
    qint64 modifiedNs = 0;
};

void ListSource(const platform::HostPath& hostFolder, const QString& relative, bool withSubFolders,
                std::vector<SourceFile>& files, QStringList& unread) {
    const platform::SearchResult listing = platform::SearchHostFolder(
        hostFolder, QStringLiteral("*.*"), platform::SearchDetail::NoFatBits);
    if (!listing.complete) unread.append(listing.error);
    for (const platform::FoundEntry& entry : listing.entries) {
        const QString name = relative.isEmpty() ? entry.name : relative + u'\\' + entry.name;
        if (entry.isFolder) {
            if (withSubFolders) {
                ListSource(platform::HostPath(hostFolder.text() + u'/' + entry.name), name,
                           withSubFolders, files, unread);
            }
            continue;
        }
        files.push_back({name, platform::HostPath(hostFolder.text() + u'/' + entry.name),
                         entry.size, entry.modifiedNs});
    }
}

// Decodes an archive member against its source file: Content when the data
// differs, ArchiveTest when the member does not decode or fails its CRC.
// Without a source file (an empty path) only the member's own test is made.
std::optional<Difference> CheckMember(const archiver::ArchiveReader& reader,
                                      const archiver::StoredMember& member, const QString& name,
                                      const platform::HostPath& sourcePath) {
    QFile source;
    bool readable = sourcePath.isEmpty() || platform::OpenRegularFile(sourcePath, source);
    bool differs = !readable;
    QByteArray buffer;
    const archiver::ByteSink compare = [&](const std::uint8_t* data, std::size_t size) {
        if (sourcePath.isEmpty() || differs) return true;  // decoding goes on for the CRC
        buffer.resize(static_cast<qsizetype>(size));
        if (source.read(buffer.data(), buffer.size()) != buffer.size() ||
            std::memcmp(buffer.constData(), data, size) != 0) {
            differs = true;
        }
        return true;
    };
    // Not damaged: the method is one that cannot be checked here.
    if (!member.undecodableMethod.empty()) {
        return Difference{DifferenceKind::MethodNotChecked, name,
                          QString::fromStdString(member.undecodableMethod)};
    }
    std::string error;
    if (!reader.Decode(member, compare, error)) {
        return Difference{DifferenceKind::ArchiveTest, name, QString::fromStdString(error)};
    }
    if (!sourcePath.isEmpty() && !differs && !source.atEnd()) differs = true;
    if (differs) return Difference{DifferenceKind::Content, name, {}};
    return std::nullopt;
}

}  // namespace

VerifyResult VerifyRegistration(Engine& engine, const store::BackupEntry& entry,
                                const VerifyOptions& options) {
    VerifyResult result;
    result.target =
        ResolveDestination(engine, Owner::Caller, entry.destination, MediumQuestion::DoNotAsk);
    if (result.target.isEmpty()) {
        result.differences.push_back(
            {DifferenceKind::ArchiveTest, {}, QStringLiteral("the backup cannot be found")});
        return result;
    }
    const platform::HostLook source =
        platform::LookUpHostPath(platform::DrivePath(entry.sourceFolder));
    if (!source.path || source.found != platform::HostLook::Kind::Folder) {
        result.differences.push_back({DifferenceKind::MissingInBackup,
                                      {},
                                      QStringLiteral("the source folder is not there")});
        return result;
    }
    RestoreRequest request;
    request.entry = entry;
    request.backup = result.target;
    request.targetRoot = *source.path;
    const RestorePlan plan = PlanRestore(request);
    const bool archive = plan.kind != BackupKind::FolderCopy;
    if (!plan.readable) {
        result.differences.push_back({DifferenceKind::ArchiveTest, {}, plan.error});
        return result;
    }
    for (const QString& unread : plan.unread) {
        result.differences.push_back({DifferenceKind::ArchiveTest, {}, unread});
    }
    for (const QString& refused : plan.refused) {
        result.differences.push_back(
            {DifferenceKind::ArchiveTest, refused, QStringLiteral("unsafe member name")});
    }

    std::vector<SourceFile> files;
    QStringList unreadSource;
    ListSource(*source.path, {}, entry.IncludesSubFolders(), files, unreadSource);
    for (const QString& unread : unreadSource) {
        result.differences.push_back({DifferenceKind::MissingInBackup, {}, unread});
    }
    QHash<QString, const RestoreItem*> backup;
    backup.reserve(static_cast<qsizetype>(plan.items.size()));
    for (const RestoreItem& item : plan.items) backup.insert(util::AsciiUpper(item.name), &item);

    // Byte for byte; a file that cannot be read differs.
    platform::ContentComparer bytes;
    for (const SourceFile& file : files) {
        const auto found = backup.constFind(util::AsciiUpper(file.name));
        if (found == backup.cend()) {
            result.differences.push_back({DifferenceKind::MissingInBackup, file.name, {}});
            continue;
        }
        const RestoreItem& item = **found;
        backup.erase(found);
        const TimeOrder order = CompareToBackup({file.modifiedNs, file.size},
                                                {item.timeNs, item.size}, item.coarseTime);
        if (order == TimeOrder::Newer) {
            result.differences.push_back({DifferenceKind::OlderInBackup, file.name, {}});
            continue;
        }
        if (order != TimeOrder::Same || file.size != item.size) {
            result.differences.push_back({DifferenceKind::SizeOrTime, file.name, {}});
            continue;
        }
        if (options.content) {
            if (archive) {
                const auto& member = plan.archive->members().at(item.member);
                if (auto difference =
                        CheckMember(*plan.archive, member, file.name, file.hostPath)) {
                    result.differences.push_back(*difference);
                    continue;
                }
            } else if (!bytes.Same(file.hostPath, item.backupFile)) {
                result.differences.push_back({DifferenceKind::Content, file.name, {}});
                continue;
            }
        }
        ++result.matching;
    }
    // What is left has no source file.
    const bool deletesGone = entry.deleteMissing && plan.kind != BackupKind::Zip;
    for (const RestoreItem* item : backup) {
        if (options.content && archive) {
            const auto& member = plan.archive->members().at(item->member);
            if (auto difference = CheckMember(*plan.archive, member, item->name, {})) {
                result.differences.push_back(*difference);
            }
        }
        if (deletesGone)
            result.differences.push_back({DifferenceKind::OnlyInBackup, item->name, {}});
    }
    return result;
}

QString DifferenceText(const Difference& difference) {
    QString what;
    switch (difference.kind) {
        case DifferenceKind::MissingInBackup:
            what = QStringLiteral("missing in the backup");
            break;
        case DifferenceKind::OlderInBackup:
            what = QStringLiteral("older in the backup");
            break;
        case DifferenceKind::SizeOrTime:
            what = QStringLiteral("different size or time");
            break;
        case DifferenceKind::Content:
            what = QStringLiteral("different content");
            break;
        case DifferenceKind::ArchiveTest:
            what = QStringLiteral("fails its test");
            break;
        case DifferenceKind::MethodNotChecked:
            what = QStringLiteral("cannot check this method");
            break;
        case DifferenceKind::OnlyInBackup:
            what = QStringLiteral("only in the backup");
            break;
    }
    QString text = what;
    if (!difference.name.isEmpty()) text += QStringLiteral(": ") + difference.name;
    if (!difference.detail.isEmpty()) text += QStringLiteral(" (") + difference.detail + u')';
    return text;
}

}  // namespace engine
