#pragma once

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

#include "engine/run_log.h"
#include "store/backup_entry.h"

namespace catalog {

// The registrations whose last logged run failed, and why: what the catalog
// paints so that it stands out and tells in its status line.
class FailedRuns {
  public:
    FailedRuns() = default;
    // From the registrations and the run log's records, oldest first.
    static FailedRuns Of(const std::vector<store::BackupEntry>& entries,
                         const std::vector<engine::RunLogRecord>& records);

    // The reason the last run of the registration with this source (as
    // stored) failed; nothing when it did not fail or never ran.
    std::optional<QString> ReasonOf(const QString& sourceFolder) const;
    bool IsEmpty() const { return reasons_.isEmpty(); }

  private:
    QHash<QString, QString> reasons_;  // by source folder, exactly as stored
};

// The status line's text for a registration whose last run failed.
QString FailedRunLine(const QString& reason);

}  // namespace catalog
