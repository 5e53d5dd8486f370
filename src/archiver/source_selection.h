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
// archive itself (`archiveInfo`, when it exists). nullopt with `error` when the folder or
// one of its sub-folders could not be listed completely: an update then changes nothing.
std::optional<std::vector<SourceFile>> SelectSourceFiles(const std::filesystem::path& folder,
                                                         bool recursive,
                                                         const std::vector<std::string>& patterns,
                                                         const struct stat* archiveInfo,
                                                         std::string& error);

}  // namespace archiver
