#pragma once

#include <QString>

namespace engine {

// Whether any file of the folder (and, with sub-folders, below it) has a
// modification time in the minute of `lastBackup` ("YYYY/MM/DD hh:mm"; 16
// blanks mean never) or after it: the stored minute cannot tell an edit made
// in it after the backup from one made before. Files named THUMBS.DB in any
// case do not count. A folder that is not there counts as changed, so that
// its entry runs and fails with the reason.
bool FolderChangedSince(const QString& folder, const QString& lastBackup, bool withSubFolders);

}  // namespace engine
