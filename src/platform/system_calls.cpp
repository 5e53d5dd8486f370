#include "platform/system_calls.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform::sys {
namespace detail {

std::atomic<FaultSeam*> g_seam{nullptr};

bool Inject(Call call, const char* folder, const char* name) {
    FaultSeam* seam = g_seam.load(std::memory_order_acquire);
    if (seam == nullptr) return false;
    std::string path = folder != nullptr ? folder : "";
    if (name != nullptr) {
        if (!path.empty() && path.back() != '/') path += '/';
        path += name;
    }
    const int error = seam->ErrnoFor(call, path);
    if (error == 0) return false;
    errno = error;
    return true;
}

}  // namespace detail

void InstallFaultSeam(FaultSeam* seam) { detail::g_seam.store(seam, std::memory_order_release); }

int Open(const char* path, int flags, mode_t mode) {
    if (Faulty(Call::Open, path)) return -1;
    return ::open(path, flags, mode);
}

int OpenAt(int dirFd, const char* folder, const char* name, int flags, mode_t mode) {
    if (Faulty(Call::Open, folder, name)) return -1;
    return ::openat(dirFd, name, flags, mode);
}

ssize_t Write(int fd, const void* bytes, std::size_t size, const char* path) {
    if (Faulty(Call::Write, path)) return -1;
    return ::write(fd, bytes, size);
}

int Fsync(int fd, const char* path) {
    if (Faulty(Call::Fsync, path)) return -1;
    return ::fsync(fd);
}

int Rename(const char* from, const char* to) {
    if (Faulty(Call::Rename, to)) return -1;
    return ::rename(from, to);
}

int RenameNoReplace(const char* from, const char* to) {
    if (Faulty(Call::Rename, to)) return -1;
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int Lstat(const char* path, struct stat* st) {
    if (Faulty(Call::Stat, path)) return -1;
    return ::lstat(path, st);
}

int Stat(const char* path, struct stat* st) {
    if (Faulty(Call::Stat, path)) return -1;
    return ::stat(path, st);
}

int StatAt(int dirFd, const char* folder, const char* name, struct stat* st, int flags) {
    if (Faulty(Call::Stat, folder, name)) return -1;
    return ::fstatat(dirFd, name, st, flags);
}

int StatxAt(int dirFd, const char* folder, const char* name, int flags, unsigned mask,
            struct statx* st) {
    if (Faulty(Call::Stat, folder, name)) return -1;
    return ::statx(dirFd, name, flags, mask, st);
}

DIR* OpenDir(const char* path) {
    if (Faulty(Call::OpenDir, path)) return nullptr;
    return ::opendir(path);
}

int OpenFolder(const char* path) {
    if (Faulty(Call::OpenDir, path)) return -1;
    return ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

ssize_t ReadFolderEntries(int fd, void* buffer, std::size_t size, const char* folder) {
    if (Faulty(Call::ReadDir, folder)) return -1;
    return ::getdents64(fd, buffer, size);
}

dirent* ReadDir(DIR* dir, const char* folder) {
    if (Faulty(Call::ReadDir, folder)) return nullptr;
    return ::readdir(dir);
}

}  // namespace platform::sys
