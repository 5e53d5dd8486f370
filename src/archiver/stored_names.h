// The names under which an update's files will be listed, checked for clashes before anything
// is written: two host names can read back as one member name (a Shift_JIS name beside its
// UTF-8 spelling, or names whose bytes neither code page reads).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "archiver/folder_walker.h"

namespace archiver {

using ListedName = std::function<std::string(const std::vector<std::string>& path)>;

// `keys[i]` is the listed name of `files[i]`. False with `error` naming every file of the
// first clash.
bool StoredNamesAreDistinct(const std::vector<SourceFile>& files, const ListedName& listedName,
                            std::vector<std::string>& keys, std::string& error);

}  // namespace archiver
