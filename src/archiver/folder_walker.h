// The files of a source folder as the archiver stores them. Left out: names beginning with
// ".", everything but regular files and folders, and names that read with "\" or ":" (a
// member name cannot carry them; those are listed in `passedOver`). A name that is not UTF-8
// is kept with its bytes as they are (read as CP932 for that check, when it reads so). A
// symbolic link to a folder is never followed; a link to a file counts as that file.
#pragma once

#include <sys/types.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace archiver {

struct SourceFile {
    // Components relative to the walked folder, as the host names them (UTF-8, or other bytes).
    std::vector<std::string> path;
    // The host's path as bytes: a std::filesystem::path would keep a list of its
    // components beside it, several hundred bytes a file for large trees.
    std::string hostPath;
    std::int64_t modifiedTime = 0;  // seconds
    std::uint64_t size = 0;
    dev_t device = 0;
    ino_t inode = 0;
};

struct FolderWalk {
    bool rootListed = false;              // false: the folder itself could not be read
    std::vector<SourceFile> files;        // in byte order of their paths, folder by folder
    std::set<std::string> listedFolders;  // "\"-joined relative paths; "" is the walked folder
    // Folders found but not known in full: the listing failed, or an entry in
    // it could not be examined (anything but its being gone). The files that
    // could be examined are in `files` all the same.
    std::set<std::string> failedFolders;
    // The components of each folder of either set, by its key.
    std::map<std::string, std::vector<std::string>> folderPaths;
    std::vector<std::filesystem::path> passedOver;  // names that cannot be stored
    std::string error;                              // the first listing error
};

// Each file as the walk finds it: the components of its folder, its name and what stat says.
using FileFound = std::function<void(const std::vector<std::string>& folder,
                                     const std::string& name, const struct stat& info)>;

// With `found`, files go to it and `files` stays empty.
FolderWalk WalkFolder(const std::filesystem::path& root, bool recursive,
                      const FileFound& found = {});

// The files of a walk kept compactly for large trees: each file's relative path in one shared
// buffer, "/"-joined as the host names it ("/" is the one byte no host name holds), beside
// its time and size. A SourceFile is made only for the file about to be stored.
// The components of a path written with "/" between them.
std::vector<std::string> SplitAtSlashes(std::string_view path);

class SourceFileList {
  public:
    explicit SourceFileList(std::filesystem::path root) : root_(std::move(root)) {}

    void Add(const std::vector<std::string>& folder, const std::string& name,
             std::int64_t modifiedTime, std::uint64_t size);
    // Drops what was reserved beyond the files added.
    void Trim();
    // Keeps the files for which `keep(i)` is true, in their order.
    void KeepIf(const std::function<bool(std::size_t)>& keep);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::string_view RelativePath(std::size_t i) const;
    std::vector<std::string> Components(std::size_t i) const;
    std::string HostPath(std::size_t i) const;
    std::int64_t ModifiedTime(std::size_t i) const { return entries_[i].modifiedTime; }
    std::uint64_t Size(std::size_t i) const { return entries_[i].size; }
    SourceFile At(std::size_t i) const;

  private:
    struct Entry {
        std::uint64_t nameAt = 0;  // its path runs to the next entry's
        std::int64_t modifiedTime = 0;
        std::uint64_t size = 0;
    };
    std::filesystem::path root_;
    std::string names_;
    std::vector<Entry> entries_;
};

// "\"-joined components.
std::string JoinPath(const std::vector<std::string>& components);

}  // namespace archiver
