#include "archiver/random_access_input.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace archiver {

bool MemoryInput::ReadAt(std::uint64_t offset, void* data, std::size_t count) const {
    if (offset > size_ || count > size_ - offset) return false;
    if (count > 0) std::memcpy(data, data_ + offset, count);
    return true;
}

std::unique_ptr<FileInput> FileInput::Open(const std::filesystem::path& path, std::string& error) {
    // Without waiting: a FIFO at the archive's path is refused below, never waited on. Reads
    // of a regular file are not affected by the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = path.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path.string() + ": not a regular file";
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileInput>(new FileInput(fd, static_cast<std::uint64_t>(info.st_size)));
}

FileInput::~FileInput() { ::close(fd_); }

bool FileInput::ReadAt(std::uint64_t offset, void* data, std::size_t count) const {
    if (count > kWindow / 2) return ReadDirect(offset, data, count);
    if (offset < windowStart_ || offset - windowStart_ > windowSize_ ||
        count > windowSize_ - (offset - windowStart_)) {
        if (offset > size_ || count > size_ - offset) return false;
        if (!window_) window_.reset(new std::uint8_t[kWindow]);
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, size_ - offset));
        windowSize_ = 0;
        if (!ReadDirect(offset, window_.get(), length)) return false;
        windowStart_ = offset;
        windowSize_ = length;
    }
    if (count > 0) std::memcpy(data, window_.get() + (offset - windowStart_), count);
    return true;
}

bool FileInput::ReadDirect(std::uint64_t offset, void* data, std::size_t count) const {
    auto* out = static_cast<char*>(data);
    while (count > 0) {
        const ssize_t got = ::pread(fd_, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace archiver
