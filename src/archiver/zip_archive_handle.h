// Owns a libzip archive: discarded (nothing written) unless Close succeeds.
#pragma once

#include <zip.h>

#include <filesystem>
#include <string>

namespace archiver {

class ZipArchiveHandle {
  public:
    // Opens an existing archive, or creates one when `create` is set.
    ZipArchiveHandle(const std::filesystem::path& path, int flags, std::string& error);
    ~ZipArchiveHandle();
    ZipArchiveHandle(const ZipArchiveHandle&) = delete;
    ZipArchiveHandle& operator=(const ZipArchiveHandle&) = delete;

    zip_t* get() const { return archive_; }
    // Writes the changes (libzip writes a temporary file beside the archive and renames it).
    // On failure the archive is discarded and `readError` tells whether a source failed.
    bool Close(std::string& error, bool& readError);

  private:
    zip_t* archive_ = nullptr;
};

}  // namespace archiver
