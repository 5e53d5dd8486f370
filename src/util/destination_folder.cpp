#include "util/destination_folder.h"

#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "util/file_ops.h"

#include <cerrno>
#include <cstring>

namespace util {

QString DriveNotReadyText(QChar letter) {
    return QStringLiteral("ドライブの準備ができていません：　") + letter + u':';
}

std::optional<QString> MakeDestinationFolder(const platform::DrivePath& folder) {
    return PrepareDestinationFolder(folder).error;
}

DestinationFolder PrepareDestinationFolder(const platform::DrivePath& drivePath,
                                           const platform::HostLook* known) {
    const QString& folder = drivePath.text();
    DestinationFolder result;
    const QString notFound = QStringLiteral("パスが見つかりません：　") + folder;
    result.error = notFound;
    if (folder.size() < 2 || folder[1] != u':') return result;
    const auto drive = platform::CurrentDrives().Find(folder[0].toUpper());
    if (!drive || drive->root.isEmpty()) return result;
    // A folder that is there has a drive root above it: the usual case costs
    // one look.
    std::optional<platform::HostPath> host;
    if (folder.size() > 3) {
        const std::optional<platform::HostPath> there = ExistingFolder(drivePath, &host, known);
        if (there) return {std::nullopt, *there, false};
    }
    if (!platform::HostFolderIsThere(drive->root)) {
        result.error = DriveNotReadyText(folder[0].toUpper());
        return result;
    }
    if (!host) host = platform::ToHostPath(drivePath);
    if (folder.size() <= 3) {
        result.error.reset();
        result.hostPath = host.value_or(drive->root);
        return result;
    }
    if (!host) return result;
    result.hostPath = *host;
    const int error = platform::MakeHostFolder(*host);
    result.created = error == 0;
    if (error == 0 || error == EEXIST) {
        result.error.reset();
    } else {
        result.error = QString::fromLocal8Bit(std::strerror(error)) +
                       QStringLiteral("\nフォルダー：　") + folder;
    }
    return result;
}

}  // namespace util
