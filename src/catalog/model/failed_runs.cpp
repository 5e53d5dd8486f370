#include "catalog/model/failed_runs.h"

#include "engine/run_status.h"
#include "util/error_wording.h"

namespace catalog {

FailedRuns FailedRuns::Of(const std::vector<store::BackupEntry>& entries,
                          const std::vector<engine::RunLogRecord>& records) {
    FailedRuns failed;
    for (const engine::RegistrationStatus& status : engine::StatusOf(entries, records)) {
        if (status.LastRunFailed())
            failed.reasons_.insert(status.entry.sourceFolder, status.lastRun->reason);
    }
    return failed;
}

std::optional<QString> FailedRuns::ReasonOf(const QString& sourceFolder) const {
    const auto found = reasons_.constFind(sourceFolder);
    if (found == reasons_.cend()) return std::nullopt;
    return *found;
}

QString FailedRunLine(const QString& reason) {
    const QString said = reason.trimmed().isEmpty() ? QStringLiteral("理由は記録されていません")
                                                    : util::InJapaneseWording(reason.simplified());
    return QStringLiteral("前回のバックアップは失敗しました：") + said;
}

}  // namespace catalog
