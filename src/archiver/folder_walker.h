// The files of a source folder as the archiver stores them. Left out: names beginning with
// ".", everything but regular files and folders, and names that read with "\" or ":" (a
// member name cannot carry them; those are listed in `passedOver`). A name that is not UTF-8
// is kept with its bytes as they are (read as CP932 for that check, when it reads so). A
// symbolic link to a folder is never followed; a link to a file counts as that file.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
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

FolderWalk WalkFolder(const std::filesystem::path& root, bool recursive);

// "\"-joined components.
std::string JoinPath(const std::vector<std::string>& components);

}  // namespace archiver
