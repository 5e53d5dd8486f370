#pragma once

#include "engine/restore_plan.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// The versions of a backup's files: the backup itself and the copies its
// history keeps (backup_history.h).
namespace engine {

// One version of a file.
struct FileVersion {
    RestoreItem item;     // restores this version
    QDateTime keptSince;  // history: the start of the run that replaced or deleted it
    bool inHistory = false;
    platform::HostPath where;  // the folder or archive holding it
};

// Every version of the files the request names, the backup's own first, then
// the history's, newest run first. `plan` is the backup's plan as it is.
std::vector<FileVersion> VersionsOfPlan(const RestorePlan& plan, const RestoreRequest& request);

// The versions of the one file `name` ("\"-separated, below the registered
// folder), newest first by the file's time.
std::vector<FileVersion> VersionsOfFile(const RestoreRequest& request, const QString& name);

// Turns the plan of a backup as it is into the plan of the backup as it was at
// `at`: for each file the newest version whose time is not later than `at`
// among those that were still in the backup at `at` (the backup's own, or a
// history copy kept by a run that began after `at`). A file no such version
// is left of is not restored.
void KeepVersionsAsOf(RestorePlan& plan, const RestoreRequest& request, const QDateTime& at);

// PlanRestore, then KeepVersionsAsOf when `at` is given.
RestorePlan PlanRestoreAsOf(const RestoreRequest& request, const std::optional<QDateTime>& at);

}  // namespace engine
