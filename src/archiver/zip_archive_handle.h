// Owns a libzip archive opened for reading; closed without writing anything.
#pragma once

#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archiver/random_access_input.h"

namespace archiver {

class ZipArchiveHandle {
  public:
    // Opens the archive at `path`.
    ZipArchiveHandle(const std::filesystem::path& path, std::string& error);
    // Reads through a duplicate of `fd`, an open archive, so that libzip sees the very file
    // the caller reads too, from `start` on: where the archive's own offsets count from when
    // a program was put before it without adjusting them. `path` names it in messages.
    ZipArchiveHandle(int fd, std::uint64_t start, const std::filesystem::path& path,
                     std::string& error);
    // Reads an archive made of `input`'s bytes from `start` up to its central directory,
    // which begins `directoryOffset` after `start`, followed by the central records `records`
    // (`count` of them, as they lie in the directory) and end records of its own: the entries
    // of a large archive read a slice at a time, since libzip holds several hundred bytes for
    // each entry it knows. `input` must outlive the handle.
    ZipArchiveHandle(const RandomAccessInput& input, std::uint64_t start,
                     std::uint64_t directoryOffset, std::vector<std::uint8_t> records,
                     std::uint64_t count, const std::filesystem::path& path, std::string& error);
    ~ZipArchiveHandle();
    ZipArchiveHandle(const ZipArchiveHandle&) = delete;
    ZipArchiveHandle& operator=(const ZipArchiveHandle&) = delete;

    zip_t* get() const { return archive_; }

  private:
    void SetError(const std::filesystem::path& path, zip_error_t& zipError, std::string& error);

    zip_t* archive_ = nullptr;
};

}  // namespace archiver
