#pragma once

#include <QString>

namespace engine {

// Whether any file of the folder (and, with sub-folders, below it) has a
// modification time whose minute lies after `lastBackup` ("YYYY/MM/DD hh:mm";
// 16 blanks mean never). Files named THUMBS.DB in any case do not count.
bool FolderChangedSince(const QString& folder, const QString& lastBackup, bool withSubFolders);

}  // namespace engine
