#include "archiver/zip_archive_handle.h"

#include "platform/system_calls.h"
#include "platform/temporary_names.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace archiver {

ZipArchiveHandle::ZipArchiveHandle(const std::filesystem::path& path, int flags, std::string& error)
    : target_(path), working_(path) {
    platform::RemoveStaleTemporaries(path.parent_path().string());
    const std::filesystem::path hidden = platform::TemporaryNameBeside(path.string());
    if ((flags & ZIP_CREATE) != 0 || ::link(path.c_str(), hidden.c_str()) == 0) working_ = hidden;
    int code = 0;
    archive_ = zip_open(working_.c_str(), flags, &code);
    if (archive_ == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        error = path.string() + ": " + zip_error_strerror(&zipError);
        zip_error_fini(&zipError);
        Discard();
    }
}

ZipArchiveHandle::~ZipArchiveHandle() { Discard(); }

void ZipArchiveHandle::Discard() {
    if (archive_ != nullptr) zip_discard(archive_);
    archive_ = nullptr;
    if (working_ != target_) ::unlink(working_.c_str());
    working_ = target_;
}

bool ZipArchiveHandle::Close(std::string& error, bool& readError) {
    if (zip_close(archive_) != 0) {
        const int code = zip_error_code_zip(zip_get_error(archive_));
        readError = code == ZIP_ER_READ || code == ZIP_ER_OPEN;
        error = zip_strerror(archive_);
        Discard();
        return false;
    }
    archive_ = nullptr;
    if (working_ != target_ && platform::sys::Rename(working_.c_str(), target_.c_str()) != 0) {
        error = "cannot replace " + target_.string() + ": " + std::strerror(errno);
        Discard();
        return false;
    }
    working_ = target_;
    return true;
}

}  // namespace archiver
