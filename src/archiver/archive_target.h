// The file an update writes. An archive path that is a symbolic link (one the user made on
// purpose, to an archive kept elsewhere) is written through: the new archive replaces the
// file the link points to, beside it, and the link stays a link.
#pragma once

#include <filesystem>

namespace archiver {

// The path with every symbolic link at its last component followed (relative targets taken
// from the link's folder). A link to nothing yet gives the path it points to, where a first
// update creates the archive. A path that is not a link, or a loop of links, comes back as is.
std::filesystem::path FollowArchiveLinks(const std::filesystem::path& path);

}  // namespace archiver
