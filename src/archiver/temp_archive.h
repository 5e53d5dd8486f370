// The new version of an archive, written to a hidden temporary file in the archive's folder
// and renamed over the archive only by Commit. Destroying it uncommitted removes the
// temporary file, so a failed update leaves the old archive as it was.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "archiver/file_io.h"

namespace archiver {

class TempArchive {
  public:
    static std::unique_ptr<TempArchive> Create(const std::filesystem::path& target,
                                               std::string& error);
    ~TempArchive();
    TempArchive(const TempArchive&) = delete;
    TempArchive& operator=(const TempArchive&) = delete;

    OutputFile& file() { return *file_; }
    const std::filesystem::path& path() const { return path_; }
    // Syncs, gives the file the old archive's permissions (or the usual ones for a new
    // archive) and renames it over the target.
    bool Commit(std::string& error);

  private:
    TempArchive(std::filesystem::path target, std::filesystem::path path, int fd);

    std::filesystem::path target_;
    std::filesystem::path path_;
    std::unique_ptr<OutputFile> file_;
    bool committed_ = false;
};

}  // namespace archiver
