#include "platform/file_copy.h"

#include "platform/host_name.h"
#include "platform/system_calls.h"
#include "platform/temporary_names.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace platform {
namespace {

class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }
    // Closes and reports the error of the close (a late write error on some file systems).
    int closeChecked() {
        const int rc = close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

CopyOutcome Failure(int error) {
    CopyOutcome outcome;
    outcome.errorNumber = error;
    outcome.description = QString::fromLocal8Bit(std::strerror(error));
    return outcome;
}

QByteArray TemporaryBeside(const QByteArray& target) {
    return QByteArray::fromStdString(TemporaryNameBeside(target.toStdString()));
}

// Copies the data; 0 or an errno.
int CopyData(int in, int out, const QByteArray& outPath, qint64 total,
             const CopyProgress& progress) {
    qint64 done = 0;
    bool kernelCopy = true;
    // Where the kernel cannot copy (another file system), through one buffer
    // per thread, not one per file.
    thread_local std::vector<char> buffer;
    for (;;) {
        ssize_t moved = -1;
        if (kernelCopy && sys::Faulty(sys::Call::Write, outPath.constData())) return errno;
        if (kernelCopy) {
            moved = copy_file_range(in, nullptr, out, nullptr, kCopyChunkBytes, 0);
            if (moved < 0 &&
                (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                kernelCopy = false;
                continue;
            }
        } else {
            if (buffer.empty()) buffer.resize(1024 * 1024);
            moved = read(in, buffer.data(), buffer.size());
            for (ssize_t written = 0; moved > 0 && written < moved;) {
                const ssize_t w =
                    sys::Write(out, buffer.data() + written, moved - written, outPath.constData());
                if (w < 0) {
                    if (errno == EINTR) continue;
                    return errno;
                }
                written += w;
            }
        }
        if (moved < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (moved == 0) return 0;
        const qint64 before = done;
        done += moved;
        if (progress && before / kCopyChunkBytes != done / kCopyChunkBytes) progress(done, total);
        // The size the file had at the start is copied: one more call would
        // only find its end. A file that grew meanwhile is seen as changed
        // by the caller, whose copy is then taken again by the next run.
        if (total > 0 && done == total) return 0;
    }
}

// Links an unnamed file at `path`: 0 or -1 with errno set. The descriptor
// itself is linked where the kernel lets its opener do that (Linux 6.10 on);
// elsewhere through its /proc name, which costs a walk through /proc.
int LinkUnnamedFile(int fd, const char* path) {
    static std::atomic<bool> byDescriptor{true};
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    if (!byDescriptor.load(std::memory_order_relaxed)) {
        return linkat(AT_FDCWD, self, AT_FDCWD, path, AT_SYMLINK_FOLLOW);
    }
    if (linkat(fd, "", AT_FDCWD, path, AT_EMPTY_PATH) == 0) return 0;
    // A kernel that refuses says ENOENT, as a missing folder does: the /proc
    // way tells the two apart.
    if (errno != ENOENT && errno != EPERM && errno != EINVAL) return -1;
    if (linkat(AT_FDCWD, self, AT_FDCWD, path, AT_SYMLINK_FOLLOW) != 0) return -1;
    byDescriptor.store(false, std::memory_order_relaxed);
    return 0;
}

// Gives a complete unnamed file its name: the target's when it is free,
// otherwise (unless a taken target is to be kept) a temporary one, returned
// in `temporary`, to be renamed over the target. 0 or an errno.
int NameUnnamedFile(int fd, const QByteArray& target, ExistingTarget existing,
                    QByteArray& temporary) {
    if (LinkUnnamedFile(fd, target.constData()) == 0) return 0;
    if (errno != EEXIST || existing == ExistingTarget::Keep) return errno;
    temporary = TemporaryBeside(target);
    if (LinkUnnamedFile(fd, temporary.constData()) == 0) return 0;
    const int error = errno;
    temporary.clear();
    return error;
}

}  // namespace

CopyOutcome CopyHostFile(const HostPath& source, const HostPath& target,
                         const CopyProgress& progress, ExistingTarget existing) {
    const QByteArray targetPath = HostBytes(target);
    // Non-blocking, so that a FIFO put in the file's place cannot hold the run.
    Fd in(sys::Open(HostBytes(source).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (in.get() < 0) return Failure(errno);
    struct stat before;
    if (fstat(in.get(), &before) != 0) return Failure(errno);
    // O_NONBLOCK stays set: it changes nothing for a regular file.
    if (!S_ISREG(before.st_mode)) return Failure(EINVAL);

    // An unnamed file in the target's folder where the file system offers
    // one: it gets its name only when complete. Elsewhere a hidden temporary
    // name is renamed over the target.
    const qsizetype slash = targetPath.lastIndexOf('/');
    const QByteArray folder =
        slash > 0 ? targetPath.left(slash) : QByteArray(slash == 0 ? "/" : ".");
    QByteArray temporary;
    Fd out(sys::Open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (out.get() < 0) {
        temporary = TemporaryBeside(targetPath);
        out = Fd(sys::Open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (out.get() < 0) return Failure(errno);
    }

    auto fail = [&](int error) {
        out.reset();
        if (!temporary.isEmpty()) unlink(temporary.constData());
        return Failure(error);
    };
    if (const int error = CopyData(in.get(), out.get(), targetPath, before.st_size, progress))
        return fail(error);
    struct stat after;
    const bool changed = fstat(in.get(), &after) != 0 || after.st_size != before.st_size ||
                         after.st_mtim.tv_sec != before.st_mtim.tv_sec ||
                         after.st_mtim.tv_nsec != before.st_mtim.tv_nsec;
    // File systems without Unix permissions (vfat) may refuse; the data is what counts.
    (void)fchmod(out.get(), before.st_mode & 07777);
    // A copy of a file that changed while it was read is stamped clearly
    // older than the source, even where times are compared in whole seconds
    // or FAT's two-second steps, so that the next run copies it again.
    struct timespec modified = before.st_mtim;
    if (changed) modified.tv_sec -= kChangedCopyAgeSeconds;
    const struct timespec times[2] = {before.st_atim, modified};
    if (futimens(out.get(), times) != 0) return fail(errno);
    if (temporary.isEmpty()) {
        if (const int error = NameUnnamedFile(out.get(), targetPath, existing, temporary))
            return fail(error);
    }
    if (out.closeChecked() != 0) return fail(errno);
    if (!temporary.isEmpty()) {
        const bool keep = existing == ExistingTarget::Keep;
        const int renamed =
            keep ? sys::RenameNoReplace(temporary.constData(), targetPath.constData())
                 : sys::Rename(temporary.constData(), targetPath.constData());
        // EINVAL: the file system cannot rename without replacing.
        if (renamed != 0) return fail(keep && errno == EINVAL ? EEXIST : errno);
    }

    CopyOutcome outcome;
    outcome.ok = true;
    outcome.sourceChanged = changed;
    return outcome;
}

}  // namespace platform
