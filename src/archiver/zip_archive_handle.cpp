#include "archiver/zip_archive_handle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace archiver {

ZipArchiveHandle::ZipArchiveHandle(const std::filesystem::path& path, std::string& error) {
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive_ == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        SetError(path, zipError, error);
        zip_error_fini(&zipError);
    }
}

ZipArchiveHandle::ZipArchiveHandle(int fd, std::uint64_t start, const std::filesystem::path& path,
                                   std::string& error) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    FILE* file = copy < 0 ? nullptr : ::fdopen(copy, "rb");
    if (file == nullptr) {
        error = path.string() + ": " + std::strerror(errno);
        if (copy >= 0) ::close(copy);
        return;
    }
    zip_error_t zipError;
    zip_error_init(&zipError);
    // The source owns the stream from here on, and the archive owns the source.
    zip_source_t* source = zip_source_filep_create(file, start, -1, &zipError);
    if (source == nullptr) {
        std::fclose(file);
    } else {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &zipError);
        if (archive_ == nullptr) zip_source_free(source);
    }
    if (archive_ == nullptr) SetError(path, zipError, error);
    zip_error_fini(&zipError);
}

ZipArchiveHandle::~ZipArchiveHandle() {
    if (archive_ != nullptr) zip_discard(archive_);
}

void ZipArchiveHandle::SetError(const std::filesystem::path& path, zip_error_t& zipError,
                                std::string& error) {
    error = path.string() + ": " + zip_error_strerror(&zipError);
}

}  // namespace archiver
