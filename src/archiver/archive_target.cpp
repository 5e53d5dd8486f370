#include "archiver/archive_target.h"

#include <sys/stat.h>

#include <system_error>

namespace archiver {

std::filesystem::path FollowArchiveLinks(const std::filesystem::path& path) {
    // As many links as the kernel follows before it gives up with ELOOP.
    constexpr int kMaxLinks = 40;
    std::filesystem::path current = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) return current;
        current = target.is_absolute() ? target : current.parent_path() / target;
        current = current.lexically_normal();
    }
    return path;
}

}  // namespace archiver
