// The files an update takes from its source folder, shared by the LZH and ZIP commands.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "archiver/commands.h"
#include "archiver/folder_walker.h"

namespace archiver {

// Walks the folder and keeps the files whose names match the patterns, leaving out the
// archive itself (`archiveInfo`, when it exists). nullopt with `error` when the folder itself
// could not be listed: an update then changes nothing. When some sub-folder or entry could
// not be read, the files that could are returned and `passedOver` gets one line for each
// thing that failed (its host path and why): an update stores what it can, and then fails
// so that the entry is tried again.
std::optional<SourceFileList> SelectSourceFiles(const std::filesystem::path& folder, bool recursive,
                                                const std::vector<std::string>& patterns,
                                                const struct stat* archiveInfo, std::string& error,
                                                std::vector<std::string>& passedOver);

// The end of an update that wrote what it could: the result keeps the passed-over files as a
// list, its message gives them after the summary, and its code says that not all was stored.
int ReportPassedOver(CommandResult& result, const std::string& summary,
                     std::vector<std::string> passedOver);

}  // namespace archiver
