#pragma once

#include "engine/engine.h"

#include <QString>

namespace engine {

// Backs one source folder up into a destination folder as plain files: copies
// every file missing in the destination or newer than its copy there, asks
// before an older file replaces its copy, and with `deleteMissing` deletes the
// destination's files that have no source file of the same name (never a
// folder, and nothing in a folder whose source listing was not read to its
// end). True when this folder level was completed; false when the source is
// missing, the run was aborted, or an error ended the level.
bool CopyFolder(Engine& engine, const QString& source, const QString& destination,
                bool withSubFolders, bool deleteMissing);

}  // namespace engine
