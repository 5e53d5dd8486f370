// The system calls through which Kibako reads and writes files, with a seam
// that lets a test make a chosen call fail for a chosen path. Without an
// installed seam each function is the plain system call plus one test of a
// null pointer. A failure, injected or real, is -1 (or nullptr) with errno
// set, so nothing above this layer can tell the two apart.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <string>

namespace platform::sys {

enum class Call { Open, Write, Fsync, Rename, Stat, OpenDir, ReadDir };

class FaultSeam {
  public:
    virtual ~FaultSeam() = default;
    // The errno with which `call` on `path` fails, or 0 to run it for real.
    // Called from any thread that does file work.
    virtual int ErrnoFor(Call call, const std::string& path) = 0;
};

// Installs `seam` for the whole process (nullptr removes it). The seam must
// stay alive until it is removed.
void InstallFaultSeam(FaultSeam* seam);

namespace detail {
extern std::atomic<FaultSeam*> g_seam;
// Asks the seam about `folder`/`name` (name may be null); sets errno and
// returns true when the call is to fail.
bool Inject(Call call, const char* folder, const char* name = nullptr);
}  // namespace detail

inline bool Faulty(Call call, const char* path, const char* name = nullptr) {
    return detail::g_seam.load(std::memory_order_relaxed) != nullptr &&
           detail::Inject(call, path, name);
}

int Open(const char* path, int flags, mode_t mode = 0);
// `folder` names `dirFd` for the seam only.
int OpenAt(int dirFd, const char* folder, const char* name, int flags, mode_t mode = 0);
// `path` names `fd` for the seam only.
ssize_t Write(int fd, const void* bytes, std::size_t size, const char* path);
int Fsync(int fd, const char* path);
int Rename(const char* from, const char* to);
// renameat2(2) with RENAME_NOREPLACE: EEXIST when `to` is there (the seam's Rename).
int RenameNoReplace(const char* from, const char* to);
int Lstat(const char* path, struct stat* st);
int Stat(const char* path, struct stat* st);
int StatAt(int dirFd, const char* folder, const char* name, struct stat* st, int flags);
// statx(2): only the fields of `mask` are asked for.
int StatxAt(int dirFd, const char* folder, const char* name, int flags, unsigned mask,
            struct statx* st);
DIR* OpenDir(const char* path);
// A folder opened for reading its entries with ReadFolderEntries (the seam's
// OpenDir); the caller closes it.
int OpenFolder(const char* path);
// getdents64(2) (the seam's ReadDir): the bytes of entry records read into
// `buffer`, 0 at the end of the folder.
ssize_t ReadFolderEntries(int fd, void* buffer, std::size_t size, const char* folder);
dirent* ReadDir(DIR* dir, const char* folder);

}  // namespace platform::sys
