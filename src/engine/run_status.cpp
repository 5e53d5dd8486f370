#include "engine/run_status.h"

#include "util/numbers.h"
#include "util/text_case.h"

#include <QHash>

namespace engine {

std::vector<RegistrationStatus> StatusOf(const std::vector<store::BackupEntry>& entries,
                                         const std::vector<RunLogRecord>& records) {
    std::vector<RegistrationStatus> statuses;
    statuses.reserve(entries.size());
    // A record belongs to the registration of its source as written; one
    // written in other ASCII case (a list carried over from Windows) to the
    // registration that folds alike. `Photos` and `photos` are two folders.
    QHash<QString, std::size_t> exact;
    QHash<QString, std::size_t> byKey;
    for (const store::BackupEntry& entry : entries) {
        exact.insert(entry.sourceFolder, statuses.size());
        byKey.insert(util::AsciiUpper(entry.sourceFolder), statuses.size());
        statuses.push_back(
            RegistrationStatus{entry, std::nullopt, entry.lastBackup.When().value_or(QDateTime())});
    }
    for (const RunLogRecord& record : records) {
        if (record.kind != RunLogRecord::Kind::Entry) continue;
        auto found = exact.constFind(record.source);
        if (found == exact.cend()) {
            found = byKey.constFind(util::AsciiUpper(record.source));
            if (found == byKey.cend()) continue;
        }
        RegistrationStatus& status = statuses[*found];
        status.lastRun = record;
        const bool good =
            record.outcome == EntryOutcome::BackedUp || record.outcome == EntryOutcome::Unchanged;
        if (good && (!status.lastGood.isValid() || status.lastGood < record.time)) {
            status.lastGood = record.time;
        }
    }
    return statuses;
}

}  // namespace engine
