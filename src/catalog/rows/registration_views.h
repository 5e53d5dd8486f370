#pragma once

#include <QString>

#include "catalog/model/failed_runs.h"
#include "catalog/rows/folder_model.h"
#include "store/definition_list.h"

namespace catalog {

// The settings view: the registrations as a tree of their source folders.
// Entries never backed up whose destination archive exists first take the
// archive's time as their last backup (which sets the modified flag), unless
// their last run failed: a file a failed run could not update tells nothing
// of a backup, and its time would have the next run of the changed folders
// pass their files over.
void BuildSettingsView(FolderModel& m, store::DefinitionList& list, const QString& definitionPath,
                       const FailedRuns& failed = {});

// The destination view: the registrations sorted by destination and arranged
// as a tree of it, each row's paired path showing the source. A malformed
// entry cuts the list there (RepairFrom) and ends the walk.
void BuildDestinationView(FolderModel& m, store::DefinitionList& list,
                          const QString& definitionPath);

}  // namespace catalog
