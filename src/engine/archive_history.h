#pragma once

#include "engine/engine.h"

#include <QString>

namespace engine {

// Before an archive update, when the engine keeps history: removes the
// archive's history older than the setting's days, then copies the members
// the update is about to replace (and, with `deleteMissing`, delete) into
// "<archive folder>/.kibako-history/<archive name> <run start>.<ext>". False,
// after showing why, when they cannot be kept: the update must then not run.
bool KeepArchiveHistory(Engine& engine, const QString& source, const QString& archive,
                        bool withSubFolders, bool deleteMissing);

}  // namespace engine
