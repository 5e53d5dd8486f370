#include "archiver/zip_archive_handle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace archiver {

ZipArchiveHandle::ZipArchiveHandle(const std::filesystem::path& path, std::string& error) {
    int code = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (archive_ == nullptr) SetError(path, code, error);
}

ZipArchiveHandle::ZipArchiveHandle(int fd, const std::filesystem::path& path, std::string& error) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) {
        error = path.string() + ": " + std::strerror(errno);
        return;
    }
    int code = 0;
    archive_ = zip_fdopen(copy, ZIP_RDONLY, &code);
    if (archive_ == nullptr) {
        ::close(copy);
        SetError(path, code, error);
    }
}

ZipArchiveHandle::~ZipArchiveHandle() {
    if (archive_ != nullptr) zip_discard(archive_);
}

void ZipArchiveHandle::SetError(const std::filesystem::path& path, int code, std::string& error) {
    zip_error_t zipError;
    zip_error_init_with_code(&zipError, code);
    error = path.string() + ": " + zip_error_strerror(&zipError);
    zip_error_fini(&zipError);
}

}  // namespace archiver
