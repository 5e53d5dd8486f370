#pragma once

#include "engine/engine.h"
#include "platform/host_path.h"

#include <QString>

namespace engine {

// Backs one source folder up into a destination folder as plain files: copies
// every file missing in the destination or newer than its copy there, asks
// before an older file replaces its copy, and with `deleteMissing` deletes the
// destination's files that have no source file of the same name (never a
// folder, and nothing in a folder whose source listing was not read to its
// end). True when this folder and its sub-folders were backed up in full;
// false when the source is missing, the run was aborted, a listing was not
// complete, or any file failed to copy or changed while it was copied (the
// caller then treats the entry as failed, so that it is tried again).
// `looks`, when given, are platform::LookUpHostPath of both folders made a
// moment ago.
struct FolderLooks {
    platform::HostLook source;
    platform::HostLook destination;
};
bool CopyFolder(Engine& engine, const QString& source, const QString& destination,
                bool withSubFolders, bool deleteMissing, const FolderLooks* looks = nullptr);

}  // namespace engine
