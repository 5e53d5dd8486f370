#pragma once

#include "platform/path_kinds.h"
#include "util/message_sink.h"

#include <QString>
#include <QStringList>

namespace util {

// Guards against deleting a whole drive: for a drive root ("D:", "D:\") asks
// `person` twice, No being the default; true means go on. Any other path is
// not asked about.
bool ConfirmRootDelete(const platform::DrivePath& path, MessageSink& person);

// What became of a folder's deletion.
struct TreeDeletion {
    bool declined = false;  // a drive root, and the person said No
    // One message for each file that could not be deleted, as the standard
    // message box shows it, in the order the walk met them.
    QStringList failures;
};

// Deletes a folder (no trailing "\") with everything in it, once `person` has
// allowed it for a drive root (ConfirmRootDelete). Files that cannot be
// deleted stay, with their folders, and are named in the result; the walk
// goes on. A link to a folder is removed as a link, never followed.
TreeDeletion DeleteFolderTree(const platform::DrivePath& path, MessageSink& person);

}  // namespace util
