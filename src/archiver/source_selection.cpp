#include "archiver/source_selection.h"

#include "archiver/pattern_match.h"

namespace archiver {

std::optional<SourceFileList> SelectSourceFiles(const std::filesystem::path& folder, bool recursive,
                                                const std::vector<std::string>& patterns,
                                                const struct stat* archiveInfo, std::string& error,
                                                std::string& partial) {
    // Filtered as they are found: a list of every file before the filter would hold them all.
    SourceFileList files(folder);
    const FolderWalk walk = WalkFolder(
        folder, recursive,
        [&](const std::vector<std::string>& relative, const std::string& name,
            const struct stat& info) {
            const bool isArchive = archiveInfo != nullptr && info.st_dev == archiveInfo->st_dev &&
                                   info.st_ino == archiveInfo->st_ino;
            if (isArchive || !MatchesAny(patterns, name)) return;
            files.Add(relative, name, info.st_mtim.tv_sec,
                      static_cast<std::uint64_t>(info.st_size));
        });
    files.Trim();
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
    return files;
}

}  // namespace archiver
