#pragma once

#include <cstddef>

namespace platform {

// The entries of one folder read straight from the kernel (getdents64) into a
// buffer of the reader's own: no allocation and no status call of the folder
// itself, which counts when a tree of tens of thousands of folders is listed.
// The seam's OpenDir and ReadDir faults apply. Holds 32 KiB: meant for the
// stack of one listing at a time, not for long-lived objects.
class FolderEntries {
  public:
    struct Entry {
        const char* name;    // valid until the next call of Next
        unsigned char type;  // DT_REG, DT_DIR, DT_LNK, ... or DT_UNKNOWN
    };

    // `path` must outlive the reader.
    explicit FolderEntries(const char* path);
    ~FolderEntries();
    FolderEntries(const FolderEntries&) = delete;
    FolderEntries& operator=(const FolderEntries&) = delete;

    // False (errno set) when the folder could not be opened.
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // The next entry, "." and ".." included; false at the end (errno 0) or
    // when the folder could not be read further (errno set).
    bool Next(Entry& entry);

  private:
    static constexpr std::size_t kBufferSize = 32 * 1024;

    int fd_ = -1;
    const char* path_;
    std::size_t used_ = 0;
    std::size_t at_ = 0;
    alignas(8) char buffer_[kBufferSize];
};

}  // namespace platform
