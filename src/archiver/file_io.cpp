#include "archiver/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system_calls.h"

namespace archiver {

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool InputFile::Open(const std::filesystem::path& path, std::string& error) {
    path_ = path;
    fd_ = platform::sys::Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    // Non-blocking only for the open itself (a FIFO swapped in must not hang the call);
    // only a regular file is read.
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        error = path.string() + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path.string() + ": not a regular file";
        return false;
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    return true;
}

long long InputFile::Read(std::uint8_t* data, std::size_t size, std::string& error) {
    for (;;) {
        const ssize_t got = ::read(fd_, data, size);
        if (got >= 0) return got;
        if (errno == EINTR) continue;
        error = path_.string() + ": " + std::strerror(errno);
        return -1;
    }
}

OutputFile::~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool OutputFile::Fail(const char* what) {
    if (error_.empty()) {
        errorNumber_ = errno;
        error_ = std::string(what) + ": " + std::strerror(errno);
    }
    return false;
}

bool OutputFile::Write(const void* data, std::size_t size) {
    if (!error_.empty()) return false;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (buffer_.size() + size > kBufferSize && !Flush()) return false;
    if (size >= kBufferSize) {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t put = ::write(fd_, bytes + done, size - done);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return Fail("write");
            done += static_cast<std::size_t>(put);
        }
    } else {
        buffer_.insert(buffer_.end(), bytes, bytes + size);
    }
    position_ += size;
    return true;
}

bool OutputFile::Flush() {
    if (!error_.empty()) return false;
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t put = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return Fail("write");
        done += static_cast<std::size_t>(put);
    }
    buffer_.clear();
    return true;
}

bool OutputFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (!Flush()) return false;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put =
            ::pwrite(fd_, bytes + done, size - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return Fail("write");
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool OutputFile::TruncateTo(std::uint64_t offset) {
    if (!Flush()) return false;
    if (::ftruncate(fd_, static_cast<off_t>(offset)) != 0) return Fail("truncate");
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return Fail("seek");
    position_ = offset;
    return true;
}

bool OutputFile::Close() {
    if (!Flush()) return false;
    if (::fsync(fd_) != 0) return Fail("sync");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Fail("close");
    return true;
}

}  // namespace archiver
