#include "platform/file_moves.h"

#include "platform/host_name.h"
#include "platform/system_calls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

bool RemoveTree(const QByteArray& path) {
    struct stat st {};
    if (lstat(path.constData(), &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return unlink(path.constData()) == 0 || errno == ENOENT;
    DIR* dir = opendir(path.constData());
    if (!dir) return false;
    bool all = true;
    while (const dirent* item = readdir(dir)) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) continue;
        all = RemoveTree(path + '/' + item->d_name) && all;
    }
    closedir(dir);
    return all && rmdir(path.constData()) == 0;
}

}  // namespace

int LinkHostFile(const HostPath& from, const HostPath& to) {
    const QByteArray source = HostBytes(from);
    const QByteArray target = HostBytes(to);
    return link(source.constData(), target.constData()) == 0 ? 0 : errno;
}

int MoveHostFile(const HostPath& from, const HostPath& to) {
    const QByteArray source = HostBytes(from);
    const QByteArray target = HostBytes(to);
    // A history copy never replaces another one.
    struct stat st {};
    if (sys::Lstat(target.constData(), &st) == 0) return EEXIST;
    return sys::Rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

std::optional<quint64> FileSystemOf(const HostPath& hostPath) {
    struct stat st {};
    if (stat(HostBytes(hostPath).constData(), &st) != 0) return std::nullopt;
    return static_cast<quint64>(st.st_dev);
}

bool SameHostFile(const HostPath& first, const HostPath& second) {
    struct stat a {};
    struct stat b {};
    return stat(HostBytes(first).constData(), &a) == 0 &&
           stat(HostBytes(second).constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

bool RemoveHostTree(const HostPath& hostPath) { return RemoveTree(HostBytes(hostPath)); }

}  // namespace platform
