// Read-only random access to archive bytes: an open file or a block of memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace archiver {

class RandomAccessInput {
  public:
    virtual ~RandomAccessInput() = default;
    virtual std::uint64_t size() const = 0;
    // False when fewer than `count` bytes could be read.
    virtual bool ReadAt(std::uint64_t offset, void* data, std::size_t count) const = 0;
};

class MemoryInput final : public RandomAccessInput {
  public:
    MemoryInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* data, std::size_t count) const override;

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Owns the descriptor; the size is taken when the file is opened. Small reads are served
// from a window of the file read in one call: reading an archive's headers one after
// another would otherwise take a system call each. Not for use by two threads at once.
class FileInput final : public RandomAccessInput {
  public:
    static std::unique_ptr<FileInput> Open(const std::filesystem::path& path, std::string& error);
    ~FileInput() override;
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    std::uint64_t size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* data, std::size_t count) const override;
    int fd() const { return fd_; }

  private:
    FileInput(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    bool ReadDirect(std::uint64_t offset, void* data, std::size_t count) const;

    static constexpr std::size_t kWindow = 1 << 18;
    int fd_;
    std::uint64_t size_;
    mutable std::unique_ptr<std::uint8_t[]> window_;
    mutable std::uint64_t windowStart_ = 0;
    mutable std::size_t windowSize_ = 0;
};

}  // namespace archiver
