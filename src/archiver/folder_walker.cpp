#include "archiver/folder_walker.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archiver/name_codec.h"

namespace archiver {
namespace {

class DirectoryHandle {
  public:
    explicit DirectoryHandle(const std::filesystem::path& path) : dir_(::opendir(path.c_str())) {}
    ~DirectoryHandle() {
        if (dir_ != nullptr) ::closedir(dir_);
    }
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

bool Acceptable(const std::string& name) {
    return !name.empty() && name[0] != '.' && name.find('\\') == std::string::npos &&
           name.find(':') == std::string::npos && IsValidUtf8(name);
}

// Names of one folder in byte order; false when the listing failed part way.
bool ListNames(const std::filesystem::path& folder, std::vector<std::string>& names,
               std::string& error) {
    const DirectoryHandle dir(folder);
    if (dir.get() == nullptr) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) break;
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    if (errno != 0) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    std::sort(names.begin(), names.end());
    return true;
}

void Walk(const std::filesystem::path& folder, std::vector<std::string>& relative, bool recursive,
          FolderWalk& walk) {
    std::vector<std::string> names;
    std::string error;
    const bool complete = ListNames(folder, names, error);
    const std::string key = JoinPath(relative);
    if (!complete) {
        walk.failedFolders.insert(key);
        if (walk.error.empty()) walk.error = error;
        return;
    }
    walk.listedFolders.insert(key);
    std::vector<std::string> subFolders;
    for (const std::string& name : names) {
        if (!Acceptable(name)) {
            ++walk.skippedNames;
            continue;
        }
        const std::filesystem::path hostPath = folder / name;
        struct stat info {};
        if (::lstat(hostPath.c_str(), &info) != 0) continue;  // vanished meanwhile
        if (S_ISDIR(info.st_mode)) {
            if (recursive) subFolders.push_back(name);
            continue;
        }
        if (S_ISLNK(info.st_mode) && ::stat(hostPath.c_str(), &info) != 0) continue;
        if (!S_ISREG(info.st_mode)) continue;
        SourceFile file;
        file.path = relative;
        file.path.push_back(name);
        file.hostPath = hostPath;
        file.modifiedTime = info.st_mtim.tv_sec;
        file.size = static_cast<std::uint64_t>(info.st_size);
        file.device = info.st_dev;
        file.inode = info.st_ino;
        walk.files.push_back(std::move(file));
    }
    for (const std::string& name : subFolders) {
        relative.push_back(name);
        Walk(folder / name, relative, recursive, walk);
        relative.pop_back();
    }
}

}  // namespace

std::string JoinPath(const std::vector<std::string>& components) {
    std::string joined;
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) joined += '\\';
        joined += components[i];
    }
    return joined;
}

FolderWalk WalkFolder(const std::filesystem::path& root, bool recursive) {
    FolderWalk walk;
    std::vector<std::string> relative;
    Walk(root, relative, recursive, walk);
    walk.rootListed = walk.listedFolders.count("") > 0;
    return walk;
}

}  // namespace archiver
