#include "archiver/temp_archive.h"

#include "platform/system_calls.h"
#include "platform/temporary_names.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace archiver {

std::unique_ptr<TempArchive> TempArchive::Create(const std::filesystem::path& target,
                                                 std::string& error) {
    // The hidden name keeps the file out of folder walks, including one of this very
    // folder; leftovers of killed runs beside the archive are removed first.
    std::string name;
    const int fd = platform::CreateTemporaryBeside(target.string(), name);
    if (fd < 0) {
        error = "cannot create a temporary file beside " + target.string() + ": " +
                std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<TempArchive>(new TempArchive(target, name, fd));
}

TempArchive::TempArchive(std::filesystem::path target, std::filesystem::path path, int fd)
    : target_(std::move(target)), path_(std::move(path)), file_(std::make_unique<OutputFile>(fd)) {}

TempArchive::~TempArchive() {
    if (committed_) return;
    file_.reset();
    ::unlink(path_.c_str());
}

bool TempArchive::Commit(std::string& error) {
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) mode = old.st_mode & 07777;
    if (::fchmod(file_->fd(), mode) != 0 || !file_->Close()) {
        error =
            file_->error().empty() ? std::string("cannot finish the new archive") : file_->error();
        return false;
    }
    if (platform::sys::Rename(path_.c_str(), target_.c_str()) != 0) {
        error = "cannot replace " + target_.string() + ": " + std::strerror(errno);
        return false;
    }
    committed_ = true;
    // Make the rename itself durable.
    const int folder = ::open(target_.parent_path().empty() ? "." : target_.parent_path().c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

}  // namespace archiver
