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
//
// Each folder is named both ways: its drive path, for what a person sees and
// for the history, and the look at its host path that a run makes once per
// registration (platform::LookUpHostPath) and, below it, once per sub-folder
// from the level above (platform::LookUpHostEntry). Nothing below turns a
// drive path into a host path again.
struct RunFolder {
    platform::DrivePath drive;
    platform::HostLook host;
};
// Both folders of a registration, looked up once.
struct RunFolders {
    RunFolder source;
    RunFolder destination;
};
RunFolders LookUpRunFolders(const platform::DrivePath& source,
                            const platform::DrivePath& destination);

bool CopyFolder(Engine& engine, const RunFolders& folders, bool withSubFolders, bool deleteMissing);
// The same, looking both folders up first.
bool CopyFolder(Engine& engine, const platform::DrivePath& source,
                const platform::DrivePath& destination, bool withSubFolders, bool deleteMissing);

}  // namespace engine
