#pragma once

#include "platform/path_kinds.h"
#include "store/backup_time.h"

#include <QString>

namespace engine {

// Whether any file of the folder (and, with sub-folders, below it) has a
// modification time in the minute of `lastBackup` or after it (never, or a
// stored text that is no time, is compared as text): the stored minute cannot tell an edit made
// in it after the backup from one made before. Files named THUMBS.DB in any
// case do not count. A folder that is not there counts as changed, so that
// its entry runs and fails with the reason. The folder is resolved once; the
// walk below it goes by host paths.
bool FolderChangedSince(const platform::DrivePath& folder, const store::BackupTime& lastBackup,
                        bool withSubFolders);

}  // namespace engine
