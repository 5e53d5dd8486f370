// Owns a libzip archive opened for reading; closed without writing anything.
#pragma once

#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <string>

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
    ~ZipArchiveHandle();
    ZipArchiveHandle(const ZipArchiveHandle&) = delete;
    ZipArchiveHandle& operator=(const ZipArchiveHandle&) = delete;

    zip_t* get() const { return archive_; }

  private:
    void SetError(const std::filesystem::path& path, zip_error_t& zipError, std::string& error);

    zip_t* archive_ = nullptr;
};

}  // namespace archiver
