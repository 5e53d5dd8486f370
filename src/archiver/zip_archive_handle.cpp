#include "archiver/zip_archive_handle.h"

namespace archiver {

ZipArchiveHandle::ZipArchiveHandle(const std::filesystem::path& path, int flags,
                                   std::string& error) {
    int code = 0;
    archive_ = zip_open(path.c_str(), flags, &code);
    if (archive_ == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        error = path.string() + ": " + zip_error_strerror(&zipError);
        zip_error_fini(&zipError);
    }
}

ZipArchiveHandle::~ZipArchiveHandle() {
    if (archive_ != nullptr) zip_discard(archive_);
}

bool ZipArchiveHandle::Close(std::string& error, bool& readError) {
    if (zip_close(archive_) == 0) {
        archive_ = nullptr;
        return true;
    }
    const int code = zip_error_code_zip(zip_get_error(archive_));
    readError = code == ZIP_ER_READ || code == ZIP_ER_OPEN;
    error = zip_strerror(archive_);
    zip_discard(archive_);
    archive_ = nullptr;
    return false;
}

}  // namespace archiver
