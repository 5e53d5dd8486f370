// Plain POSIX file access with owned descriptors and errors as text.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace archiver {

// A file read from start to end; symbolic links are followed. Open never waits: whatever is
// found at the path must be a regular file once opened (a FIFO or a device swapped in since
// the folder was listed fails, naming the path).
class InputFile {
  public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool Open(const std::filesystem::path& path, std::string& error);
    // Bytes read (0 at the end); -1 with `error` set on a read error.
    long long Read(std::uint8_t* data, std::size_t size, std::string& error);

  private:
    int fd_ = -1;
    std::filesystem::path path_;
};

// A file written mostly in order through a buffer; WriteAt patches bytes already written.
// Errors stick: after the first failure every call fails.
class OutputFile {
  public:
    explicit OutputFile(int fd) : fd_(fd) { buffer_.reserve(kBufferSize); }
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Write(const void* data, std::size_t size);
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    // Drops everything from `offset` on; the next write goes there.
    bool TruncateTo(std::uint64_t offset);
    bool Flush();
    // Flushes, syncs to the disk and closes.
    bool Close();
    std::uint64_t position() const { return position_; }
    const std::string& error() const { return error_; }
    // Whether the first failure was the disk (or the user's quota) being full.
    bool diskFull() const { return errorNumber_ == ENOSPC || errorNumber_ == EDQUOT; }
    int fd() const { return fd_; }

  private:
    static constexpr std::size_t kBufferSize = 1 << 18;
    bool Fail(const char* what);

    int fd_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t position_ = 0;
    std::string error_;
    int errorNumber_ = 0;
};

}  // namespace archiver
