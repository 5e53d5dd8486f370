#include "archiver/folder_walker.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archiver/name_codec.h"
#include "platform/system_calls.h"

namespace archiver {
namespace {

class DirectoryHandle {
  public:
    explicit DirectoryHandle(const std::filesystem::path& path)
        : dir_(platform::sys::OpenDir(path.c_str())) {}
    ~DirectoryHandle() {
        if (dir_ != nullptr) ::closedir(dir_);
    }
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;
    DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

bool Listed(const std::string& name) { return !name.empty() && name[0] != '.'; }

// A Shift_JIS name may hold the byte of "\\" inside a character: such a name is judged by
// how it reads.
bool Storable(const std::string& name) {
    std::string reading = name;
    if (!IsValidUtf8(name)) {
        if (std::optional<std::string> cp932 = Cp932ToUtf8(name)) reading = *cp932;
    }
    return reading.find('\\') == std::string::npos && reading.find(':') == std::string::npos;
}

// The names of one folder side by side in one buffer, each ended by a zero byte (which no
// name holds), with where each begins in byte order: a folder of many files would otherwise
// hold a string for each while it is walked.
class FolderNames {
  public:
    void Add(const char* name) {
        starts_.push_back(bytes_.size());
        bytes_ += name;
        bytes_ += '\0';
    }
    void Sort() {
        // strcmp orders as std::string does: by unsigned bytes, a prefix first.
        std::sort(starts_.begin(), starts_.end(), [this](std::size_t a, std::size_t b) {
            return std::strcmp(bytes_.c_str() + a, bytes_.c_str() + b) < 0;
        });
    }
    std::size_t size() const { return starts_.size(); }
    std::string operator[](std::size_t i) const { return bytes_.c_str() + starts_[i]; }

  private:
    std::string bytes_;
    std::vector<std::size_t> starts_;
};

// Names of one folder in byte order; false when the listing failed part way.
bool ListNames(const std::filesystem::path& folder, FolderNames& names, std::string& error) {
    const DirectoryHandle dir(folder);
    if (dir.get() == nullptr) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = platform::sys::ReadDir(dir.get(), folder.c_str());
        if (entry == nullptr) break;
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.Add(entry->d_name);
        }
    }
    if (errno != 0) {
        error = folder.string() + ": " + std::strerror(errno);
        return false;
    }
    names.Sort();
    return true;
}

// The state of one entry: 0 when it was examined or is gone, else the errno
// that kept it from being examined.
int Examine(const std::filesystem::path& hostPath, struct stat& info, bool& found) {
    found = false;
    if (platform::sys::Lstat(hostPath.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
    if (S_ISLNK(info.st_mode)) {
        if (platform::sys::Stat(hostPath.c_str(), &info) != 0) {
            return errno == ENOENT || errno == ELOOP || errno == ENOTDIR ? 0 : errno;
        }
        if (!S_ISREG(info.st_mode)) return 0;  // a link to a folder is never followed
    }
    found = true;
    return 0;
}

void Walk(const std::filesystem::path& folder, std::vector<std::string>& relative, bool recursive,
          const FileFound& found, FolderWalk& walk) {
    FolderNames names;
    std::string error;
    bool complete = ListNames(folder, names, error);
    const std::string key = JoinPath(relative);
    walk.folderPaths.emplace(key, relative);
    if (!complete) {
        walk.failedFolders.insert(key);
        if (walk.error.empty()) walk.error = error;
        return;
    }
    if (relative.empty()) walk.rootListed = true;
    std::vector<std::string> subFolders;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = names[i];
        if (!Listed(name)) continue;
        const std::filesystem::path hostPath = folder / name;
        if (!Storable(name)) {
            walk.passedOver.push_back(hostPath);
            continue;
        }
        struct stat info {};
        bool present = false;
        if (const int failure = Examine(hostPath, info, present)) {
            // An entry that is there but cannot be examined: what this folder
            // holds is not known in full, so nothing in it counts as gone.
            complete = false;
            if (walk.error.empty()) walk.error = hostPath.string() + ": " + std::strerror(failure);
            continue;
        }
        if (!present) continue;  // vanished meanwhile
        if (S_ISDIR(info.st_mode)) {
            if (recursive) subFolders.push_back(name);
            continue;
        }
        if (!S_ISREG(info.st_mode)) continue;
        if (found) {
            found(relative, name, info);
            continue;
        }
        SourceFile file;
        file.path = relative;
        file.path.push_back(name);
        file.hostPath = hostPath.native();
        file.modifiedTime = info.st_mtim.tv_sec;
        file.size = static_cast<std::uint64_t>(info.st_size);
        file.device = info.st_dev;
        file.inode = info.st_ino;
        walk.files.push_back(std::move(file));
    }
    (complete ? walk.listedFolders : walk.failedFolders).insert(key);
    for (const std::string& name : subFolders) {
        relative.push_back(name);
        Walk(folder / name, relative, recursive, found, walk);
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

FolderWalk WalkFolder(const std::filesystem::path& root, bool recursive, const FileFound& found) {
    FolderWalk walk;
    std::vector<std::string> relative;
    Walk(root, relative, recursive, found, walk);
    return walk;
}

void SourceFileList::Add(const std::vector<std::string>& folder, const std::string& name,
                         std::int64_t modifiedTime, std::uint64_t size) {
    entries_.push_back(Entry{names_.size(), modifiedTime, size});
    for (const std::string& component : folder) {
        names_ += component;
        names_ += '/';
    }
    names_ += name;
}

void SourceFileList::Trim() {
    names_.shrink_to_fit();
    entries_.shrink_to_fit();
}

void SourceFileList::KeepIf(const std::function<bool(std::size_t)>& keep) {
    std::size_t kept = 0;
    std::size_t nameEnd = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!keep(i)) continue;
        const std::string_view path = RelativePath(i);
        // Moved down over what was dropped, never onto bytes not yet moved.
        std::copy(path.begin(), path.end(), names_.begin() + static_cast<std::ptrdiff_t>(nameEnd));
        entries_[kept] = Entry{nameEnd, entries_[i].modifiedTime, entries_[i].size};
        nameEnd += path.size();
        ++kept;
    }
    entries_.resize(kept);
    names_.resize(nameEnd);
}

std::string_view SourceFileList::RelativePath(std::size_t i) const {
    const std::uint64_t end = i + 1 < entries_.size() ? entries_[i + 1].nameAt : names_.size();
    return std::string_view(names_).substr(entries_[i].nameAt, end - entries_[i].nameAt);
}

std::vector<std::string> SplitAtSlashes(std::string_view path) {
    std::vector<std::string> components;
    std::size_t start = 0;
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
         slash = path.find('/', start)) {
        components.emplace_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    components.emplace_back(path.substr(start));
    return components;
}

std::vector<std::string> SourceFileList::Components(std::size_t i) const {
    return SplitAtSlashes(RelativePath(i));
}

std::string SourceFileList::HostPath(std::size_t i) const {
    return (root_ / std::filesystem::path(std::string(RelativePath(i)))).native();
}

SourceFile SourceFileList::At(std::size_t i) const {
    SourceFile file;
    file.path = Components(i);
    file.hostPath = HostPath(i);
    file.modifiedTime = entries_[i].modifiedTime;
    file.size = entries_[i].size;
    return file;
}

}  // namespace archiver
