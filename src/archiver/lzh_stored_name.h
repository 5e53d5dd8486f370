// Member names of files whose host names are not UTF-8 (Shift_JIS from an old disk or
// archive). Such a name is stored as its own bytes, as other archivers do: under a CP932
// declaration when the whole name reads as CP932 (the usual case for this program's users),
// otherwise with no declaration at all.
#pragma once

#include <string>
#include <vector>

#include "archiver/lzh_header.h"

namespace archiver {

// False when a component holds the byte 0xFF, which separates folders in a header.
bool StorableInLzh(const std::vector<std::string>& path);

// The code page a member's header declares: the archive's own for names that are all UTF-8.
NameCodePage MemberCodePage(const std::vector<std::string>& path, NameCodePage archiveCodePage);

// The "\"-joined path under which this library lists the member written for `path`, so that
// an update finds it again. The path itself when it is all UTF-8.
std::string ListedPath(const std::vector<std::string>& path);

}  // namespace archiver
