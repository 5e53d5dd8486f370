#include "util/file_ops.h"

#include "platform/attributes.h"
#include "platform/dir_search.h"
#include "platform/drive_table.h"
#include "platform/file_name_match.h"
#include "platform/host_files.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "platform/profile_file.h"
#include "platform/regular_file.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <QDir>
#include <QFile>

#include <cerrno>

namespace util {
namespace {

const QString kFileLine = QStringLiteral("ファイル：　");

bool HasProtection(const platform::HostPath& host) {
    const auto attributes = platform::ReadAttributes(host);
    return attributes && (*attributes & platform::kProtectingAttributes);
}

// Lifts read-only, hidden and system; false when any of them stays.
bool LiftProtection(const platform::HostPath& host) {
    if (!HasProtection(host)) return true;
    platform::WriteAttributes(host, 0);
    return !HasProtection(host);
}

// A folder's table of entries is full while its disk still has room: the
// root folder of a FAT disk holds a fixed number of entries.
bool RootFolderFull(int error, const platform::DrivePath& target,
                    const platform::HostPath& hostTarget, qint64 size) {
    if (error != ENOSPC || ParentPath(target.text()).size() > 2) return false;
    const std::optional<qint64> free =
        platform::FreeBytesOf(platform::HostPath(hostTarget.text().section(u'/', 0, -2) + u'/'));
    return free && *free > size;
}

QString CopyFailureText(const platform::CopyOutcome& outcome, const platform::DrivePath& target,
                        const platform::HostPath& hostTarget, qint64 size) {
    if (RootFolderFull(outcome.errorNumber, target, hostTarget, size)) {
        return QStringLiteral(
                   "ルート･ディレクトリには、これ以上ファイルを追加できません\n"
                   "（空き容量が残っていても、ファイル数に限界があります）\n\n"
                   "先にファイルを削除してから、フォルダーを新規作成し、\n"
                   "　その中にコピーしてください\n\n") +
               kFileLine + platform::MessageText(target.text());
    }
    return outcome.description + u'\n' + kFileLine + platform::MessageText(target.text());
}

std::optional<platform::FoundEntry> FindOne(const platform::DrivePath& path) {
    for (const auto& entry : platform::SearchDirectory(path).entries) {
        if (!entry.isFolder) return entry;
    }
    return std::nullopt;
}

}  // namespace

CopyResult CopyOneFile(const platform::DrivePath& source, const platform::DrivePath& target,
                       const platform::CopyProgress& progress) {
    const auto found = FindOne(source);
    if (!found) return {};
    const auto hostSource = platform::ToHostPath(source);
    const auto hostTarget = platform::ToHostPath(target);
    if (!hostSource || !hostTarget) return {};
    return CopyResolvedFile(
        {source, target, *hostSource, *hostTarget, found->size, FileExists(target)}, progress);
}

CopyResult CopyResolvedFile(const ResolvedCopy& copy, const platform::CopyProgress& progress,
                            const std::function<bool()>& makeRoom) {
    if (copy.sourceSize == 0 || SameKey(copy.source.text(), copy.target.text())) return {};
    // The old copy stays until the new one is complete; only its protection
    // is lifted now, since a protected target must not be replaced.
    if (copy.targetExists && !LiftProtection(copy.hostTarget)) return {};

    platform::CopyOutcome outcome =
        platform::CopyHostFile(copy.hostSource, copy.hostTarget, progress);
    if (!outcome.ok && outcome.errorNumber == ENOSPC && makeRoom && makeRoom()) {
        outcome = platform::CopyHostFile(copy.hostSource, copy.hostTarget, progress);
    }
    if (!outcome.ok) {
        return {false, false, true,
                CopyFailureText(outcome, copy.target, copy.hostTarget, copy.sourceSize)};
    }
    if (outcome.sourceChanged) {
        return {true, true, false,
                QStringLiteral("バックアップ中にファイルが変更されました\n"
                               "（次回のバックアップで、もう一度コピーします）\n") +
                    kFileLine + platform::MessageText(copy.source.text())};
    }
    return {true, false, false, QString()};
}

bool ClearTarget(const platform::DrivePath& target) {
    if (!FileExists(target)) return true;
    const auto host = platform::ToHostPath(target);
    if (!host) return true;
    if (!LiftProtection(*host)) return false;
    platform::RemoveHostFile(*host);
    return true;
}

bool DeleteOneFile(const platform::DrivePath& path) {
    if (!FileExists(path)) return true;
    const auto host = platform::ToHostPath(path);
    if (!host) return true;
    // Font files would be released from the desktop's font resources here;
    // nothing on this platform holds them.
    if (platform::RemoveHostFile(*host)) return true;
    platform::WriteAttributes(*host, 0);
    return platform::RemoveHostFile(*host);
}

bool FileExists(const platform::DrivePath& path) {
    if (path.isEmpty()) return false;
    return FindOne(path).has_value();
}

bool FolderExists(const platform::DrivePath& drivePath) {
    const QString& path = drivePath.text();
    if (path.size() <= 3) {
        if (path.size() < 2 || path[1] != u':') return false;
        return platform::CurrentDrives().TypeOf(path[0]) != platform::DriveType::Unknown;
    }
    return ExistingFolder(drivePath).has_value();
}

std::optional<platform::HostPath> ExistingFolder(const platform::DrivePath& drivePath,
                                                 std::optional<platform::HostPath>* resolved,
                                                 const platform::HostLook* known) {
    const QString& path = drivePath.text();
    if (path.size() <= 3 || path.startsWith(QLatin1String("\\\\"))) return std::nullopt;
    // A plain last name needs only one look at the path.
    const qsizetype slash = path.lastIndexOf(u'\\');
    if (slash >= 0 && slash < path.size() - 1 && !platform::HasWildcard(path.mid(slash + 1))) {
        const platform::FolderLook look = platform::LookAtFolder(drivePath, known);
        if (resolved) *resolved = look.hostPath;
        return look.listed ? look.hostPath : std::nullopt;
    }
    for (const auto& entry : platform::SearchDirectory(drivePath).entries) {
        if (entry.isFolder) return platform::ToHostPath(drivePath).value_or(platform::HostPath());
    }
    return std::nullopt;
}

bool MakeFolder(const platform::DrivePath& path) {
    const auto host = platform::ToHostPath(path);
    return host && platform::MakeHostFolderTree(*host);
}

std::optional<qint64> ModifiedTimeOf(const platform::DrivePath& path) {
    const auto host = platform::ToHostPath(path);
    if (!host) return std::nullopt;
    return ModifiedTimeOf(*host);
}

std::optional<qint64> ModifiedTimeOf(const platform::HostPath& path) {
    const std::optional<platform::FileIdentity> identity = platform::IdentityOf(path);
    if (!identity) return std::nullopt;
    return identity->modifiedNs;
}

QString ProfileRead(const platform::DrivePath& file, const QString& section, const QString& key) {
    const auto host = platform::ToHostPath(file);
    return host ? platform::ReadProfileString(*host, section, key) : QString();
}

bool ProfileWrite(const platform::DrivePath& file, const QString& section, const QString& key,
                  const QString& value) {
    const auto host = platform::ToHostPath(file);
    return host && platform::WriteProfileString(*host, section, key, value);
}

}  // namespace util
