#include "util/destination_folder.h"

#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "util/file_ops.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace util {

QString DriveNotReadyText(QChar letter) {
    return QStringLiteral("ドライブの準備ができていません：　") + letter + u':';
}

std::optional<QString> MakeDestinationFolder(const QString& folder) {
    const QString notFound = QStringLiteral("パスが見つかりません：　") + folder;
    if (folder.size() < 2 || folder[1] != u':') return notFound;
    const auto drive = platform::CurrentDrives().Find(folder[0].toUpper());
    if (!drive || drive->root.isEmpty()) return notFound;
    if (!QFileInfo(drive->root).isDir()) return DriveNotReadyText(folder[0].toUpper());
    if (folder.size() <= 3 || FolderExists(folder)) return std::nullopt;
    const auto host = platform::ToHostPath(folder);
    if (!host) return notFound;
    const int error = platform::MakeHostFolder(*host);
    if (error == 0 || error == EEXIST) return std::nullopt;
    return QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral("\nフォルダー：　") +
           folder;
}

}  // namespace util
