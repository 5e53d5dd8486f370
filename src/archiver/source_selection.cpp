#include "archiver/source_selection.h"

#include "archiver/pattern_match.h"
#include "archiver/return_code.h"

namespace archiver {

std::optional<SourceFileList> SelectSourceFiles(const std::filesystem::path& folder, bool recursive,
                                                const std::vector<std::string>& patterns,
                                                const struct stat* archiveInfo, std::string& error,
                                                std::vector<std::string>& passedOver) {
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
        passedOver.push_back(walk.error.empty() ? "cannot list all of " + folder.string()
                                                : walk.error);
    }
    for (const std::filesystem::path& name : walk.passedOver) {
        passedOver.push_back(name.string() + ": a name with \"\\\" or \":\" cannot be stored");
    }
    return files;
}

int ReportPassedOver(CommandResult& result, const std::string& summary,
                     std::vector<std::string> passedOver) {
    result.message = summary;
    for (const std::string& line : passedOver) result.message += "; " + line;
    result.failedEntries = std::move(passedOver);
    return kSourceUnreadable;
}

}  // namespace archiver
