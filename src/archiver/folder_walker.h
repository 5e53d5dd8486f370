// The files of a source folder as the archiver stores them. Left out: names beginning with
// ".", names containing "\" or ":" (a Windows path cannot carry them), names that are not
// UTF-8, and everything but regular files and folders. A symbolic link to a folder is never
// followed; a link to a file counts as that file.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace archiver {

struct SourceFile {
    std::vector<std::string> path;  // components relative to the walked folder
    std::filesystem::path hostPath;
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
    std::size_t skippedNames = 0;
    std::string error;  // the first listing error
};

FolderWalk WalkFolder(const std::filesystem::path& root, bool recursive);

// "\"-joined components.
std::string JoinPath(const std::vector<std::string>& components);

}  // namespace archiver
