#pragma once

#include "engine/run_log.h"
#include "store/backup_entry.h"

#include <QDateTime>

#include <optional>
#include <vector>

namespace engine {

// Where one registration stands, from the run log and its stored last-backup
// time: what its last run did, and when its backup last was known to be
// current (a backup, or a run that found nothing changed).
struct RegistrationStatus {
    store::BackupEntry entry;
    std::optional<RunLogRecord> lastRun;  // none when no run of it was logged
    QDateTime lastGood;                   // invalid when it never succeeded

    bool LastRunFailed() const { return lastRun && lastRun->outcome == EntryOutcome::Failed; }
    // Not backed up (nor found unchanged) since `now - maxAgeDays`.
    bool OlderThan(int maxAgeDays, const QDateTime& now) const {
        return !lastGood.isValid() || lastGood.addDays(maxAgeDays) < now;
    }
};

// The status of each entry, in the entries' order; `records` oldest first.
std::vector<RegistrationStatus> StatusOf(const std::vector<store::BackupEntry>& entries,
                                         const std::vector<RunLogRecord>& records);

}  // namespace engine
