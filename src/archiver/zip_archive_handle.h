// Owns a libzip archive: discarded (nothing written) unless Close succeeds.
#pragma once

#include <zip.h>

#include <filesystem>
#include <string>

namespace archiver {

class ZipArchiveHandle {
  public:
    // Opens an existing archive, or creates one when `flags` holds ZIP_CREATE.
    // libzip works on a hidden second name of the archive (a hard link, or a
    // new file), so that its own temporary file carries that hidden name
    // too; a file system without hard links gets the archive's own name.
    ZipArchiveHandle(const std::filesystem::path& path, int flags, std::string& error);
    ~ZipArchiveHandle();
    ZipArchiveHandle(const ZipArchiveHandle&) = delete;
    ZipArchiveHandle& operator=(const ZipArchiveHandle&) = delete;

    zip_t* get() const { return archive_; }
    // Writes the changes: libzip writes a temporary file and renames it over
    // the hidden name, which is then renamed over the archive. On failure the
    // archive is untouched and `readError` tells whether a source failed.
    bool Close(std::string& error, bool& readError);

  private:
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path working_;  // the name libzip writes; target_ when no link was possible
    zip_t* archive_ = nullptr;
};

}  // namespace archiver
