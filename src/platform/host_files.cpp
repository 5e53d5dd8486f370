#include "platform/host_files.h"

#include "platform/folder_entries.h"
#include "platform/host_name.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

bool RemoveHostFile(const HostPath& hostPath) {
    return unlink(HostBytes(hostPath).constData()) == 0;
}

bool RemoveHostFolder(const HostPath& hostFolder) {
    return rmdir(HostBytes(hostFolder).constData()) == 0;
}

void RemoveLinksIn(const HostPath& hostFolder) {
    const QByteArray folder = HostBytes(hostFolder);
    FolderEntries dir(folder.constData());
    if (!dir.IsOpen()) return;
    FolderEntries::Entry item;
    while (dir.Next(item)) {
        struct stat st;
        if (item.type != DT_LNK && item.type != DT_UNKNOWN) continue;
        if (fstatat(dir.Fd(), item.name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
            unlinkat(dir.Fd(), item.name, 0);
    }
}

bool MakeHostFolderTree(const HostPath& hostFolder) {
    const QByteArray path = HostBytes(hostFolder);
    if (path.isEmpty()) return false;
    struct stat st;
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray level = slash < 0 ? path : path.left(slash);
        if (mkdir(level.constData(), 0777) != 0 &&
            (errno != EEXIST || stat(level.constData(), &st) != 0 || !S_ISDIR(st.st_mode))) {
            return false;
        }
        if (slash < 0 || slash == path.size() - 1) return true;
    }
}

std::optional<qint64> FreeBytesOf(const HostPath& hostFolder) {
    struct statvfs fs {};
    if (statvfs(HostBytes(hostFolder).constData(), &fs) != 0) return std::nullopt;
    return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
}

}  // namespace platform
