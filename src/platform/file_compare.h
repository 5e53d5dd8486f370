#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace platform {

// Compares the bytes of two host files, through two buffers made at the first
// comparison and kept for the life of the comparer (one comparer serves a
// whole check, not one per file).
class ContentComparer {
  public:
    // True when both are regular files of one size with the same bytes. A
    // file that cannot be opened or read, or is not a regular file, differs;
    // neither is waited on when it is a FIFO or a device.
    bool Same(const HostPath& leftHostPath, const HostPath& rightHostPath);

    // Bytes read from each file at a time.
    static constexpr std::size_t kChunkBytes = 1024 * 1024;

  private:
    std::vector<char> left_;
    std::vector<char> right_;
};

}  // namespace platform
