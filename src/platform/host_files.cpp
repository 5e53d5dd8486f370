#include "platform/host_files.h"

#include <QFile>

#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

bool RemoveHostFile(const QString& hostPath) {
    return unlink(QFile::encodeName(hostPath).constData()) == 0;
}

bool RemoveHostFolder(const QString& hostFolder) {
    return rmdir(QFile::encodeName(hostFolder).constData()) == 0;
}

std::optional<qint64> FreeBytesOf(const QString& hostFolder) {
    struct statvfs fs {};
    if (statvfs(QFile::encodeName(hostFolder).constData(), &fs) != 0) return std::nullopt;
    return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
}

}  // namespace platform
