// The caller's resolver for the Windows-style paths of command lines and open calls.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace archiver {

// Through the installed resolver, or the text itself as a host path when none is installed.
std::optional<std::filesystem::path> ResolvePath(const std::string& drivePath);

}  // namespace archiver
