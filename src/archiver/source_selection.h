// The files an update takes from its source folder, shared by the LZH and ZIP commands.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "archiver/folder_walker.h"

namespace archiver {

// Walks the folder and keeps the files whose names match the patterns, leaving out the
// archive itself (`archiveInfo`, when it exists). nullopt with `error` when the folder itself
// could not be listed: an update then changes nothing. When some sub-folder or entry could
// not be read, the files that could are returned and `partial` says what failed: an update
// stores what it can, and then fails so that the entry is tried again.
std::optional<SourceFileList> SelectSourceFiles(const std::filesystem::path& folder, bool recursive,
                                                const std::vector<std::string>& patterns,
                                                const struct stat* archiveInfo, std::string& error,
                                                std::string& partial);

}  // namespace archiver
