#include "platform/file_compare.h"

#include "platform/host_name.h"
#include "platform/system_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// A descriptor open for reading a regular file, closed with its holder.
class ReadFd {
  public:
    explicit ReadFd(const HostPath& hostPath)
        : fd_(sys::Open(HostBytes(hostPath).constData(),
                        O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)) {}
    ~ReadFd() {
        if (fd_ >= 0) close(fd_);
    }
    ReadFd(const ReadFd&) = delete;
    ReadFd& operator=(const ReadFd&) = delete;

    // The size of the regular file, or -1 (not open, not a regular file).
    off_t RegularSize() const {
        struct stat st;
        if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
        return st.st_size;
    }
    // Reads exactly `size` bytes; false at an error or an early end.
    bool ReadFully(char* into, std::size_t size) const {
        for (std::size_t done = 0; done < size;) {
            const ssize_t got = read(fd_, into + done, size - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

  private:
    int fd_;
};

}  // namespace

bool ContentComparer::Same(const HostPath& leftHostPath, const HostPath& rightHostPath) {
    const ReadFd left(leftHostPath);
    const ReadFd right(rightHostPath);
    const off_t size = left.RegularSize();
    if (size < 0 || right.RegularSize() != size) return false;
    if (left_.empty()) {
        left_.resize(kChunkBytes);
        right_.resize(kChunkBytes);
    }
    // The sizes the files have now are compared: no read past them, so that
    // a small file costs one read each.
    for (off_t done = 0; done < size;) {
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<off_t>(size - done, static_cast<off_t>(kChunkBytes)));
        if (!left.ReadFully(left_.data(), chunk) || !right.ReadFully(right_.data(), chunk) ||
            std::memcmp(left_.data(), right_.data(), chunk) != 0) {
            return false;
        }
        done += static_cast<off_t>(chunk);
    }
    return true;
}

}  // namespace platform
