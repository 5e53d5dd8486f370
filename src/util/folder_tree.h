#pragma once

#include <QString>

namespace util {

// Guards against deleting a whole drive: for a drive root ("D:", "D:\") asks
// twice, No being the default; true means go on.
bool ConfirmRootDelete(const QString& path);

// Deletes a folder (no trailing "\") with everything in it. Files that cannot
// be deleted are reported one by one and stay, with their folders; the walk
// goes on. A link to a folder is removed as a link, never followed.
void DeleteFolderTree(const QString& path);

}  // namespace util
