#include "util/missing_folder.h"

#include "platform/drive_table.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "util/destination_folder.h"

#include <climits>

namespace util {

QString MissingFolderText(const platform::DrivePath& drivePath) {
    const QString& folder = drivePath.text();
    const QString line = QStringLiteral("\nフォルダー：　") + folder;
    if (folder.size() < 2 || folder[1] != u':')
        return QStringLiteral("パスが見つかりません：　") + folder;
    const QChar letter = folder[0].toUpper();
    const std::optional<platform::Drive> drive = platform::CurrentDrives().Find(letter);
    if (!drive || drive->root.isEmpty()) {
        return QStringLiteral("ドライブが割り当てられていません：　") + letter + u':' + line;
    }
    if (!platform::HostFolderIsThere(drive->root)) return DriveNotReadyText(letter) + line;
    const std::optional<platform::HostPath> host = platform::ToHostPath(drivePath);
    const qsizetype bytes = host ? platform::HostBytes(host->text()).size() : 0;
    if (bytes >= PATH_MAX) {
        return QStringLiteral("パスが長すぎます（%1バイト。%2バイトまでです）")
                   .arg(bytes)
                   .arg(PATH_MAX - 1) +
               line;
    }
    return QStringLiteral("バックアップ元のフォルダーが見つかりません") + line;
}

}  // namespace util
