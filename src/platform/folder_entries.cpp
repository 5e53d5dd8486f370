#include "platform/folder_entries.h"

#include "platform/system_calls.h"

#include <dirent.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

FolderEntries::FolderEntries(const char* path) : fd_(sys::OpenFolder(path)), path_(path) {}

FolderEntries::~FolderEntries() {
    if (fd_ >= 0) close(fd_);
}

bool FolderEntries::Next(Entry& entry) {
    if (at_ >= used_) {
        const ssize_t read = sys::ReadFolderEntries(fd_, buffer_, kBufferSize, path_);
        if (read <= 0) {
            if (read == 0) errno = 0;
            return false;
        }
        used_ = static_cast<std::size_t>(read);
        at_ = 0;
    }
    const auto* record = reinterpret_cast<const struct dirent64*>(buffer_ + at_);
    at_ += record->d_reclen;
    entry = {record->d_name, record->d_type};
    return true;
}

}  // namespace platform
