#include "archiver/source_selection.h"

#include "archiver/pattern_match.h"

namespace archiver {

std::optional<std::vector<SourceFile>> SelectSourceFiles(const std::filesystem::path& folder,
                                                         bool recursive,
                                                         const std::vector<std::string>& patterns,
                                                         const struct stat* archiveInfo,
                                                         std::string& error, std::string& partial) {
    FolderWalk walk = WalkFolder(folder, recursive);
    if (!walk.rootListed) {
        error = walk.error.empty() ? "cannot list " + folder.string() : walk.error;
        return std::nullopt;
    }
    if (!walk.failedFolders.empty()) {
        partial = walk.error.empty() ? "cannot list all of " + folder.string() : walk.error;
    }
    for (const std::filesystem::path& name : walk.passedOver) {
        partial += (partial.empty() ? "" : "; ") + name.string() +
                   ": a name with \"\\\" or \":\" cannot be stored";
    }
    // Filtered in place: a second list would hold every file twice at once.
    std::erase_if(walk.files, [&](const SourceFile& file) {
        return (archiveInfo != nullptr && file.device == archiveInfo->st_dev &&
                file.inode == archiveInfo->st_ino) ||
               !MatchesAny(patterns, file.path.back());
    });
    return std::move(walk.files);
}

}  // namespace archiver
