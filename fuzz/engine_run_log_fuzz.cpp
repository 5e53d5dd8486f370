// The run log is a text file in the program folder that a crash may cut, a disk may damage
// and a person may edit: reading it never crashes, and each record it reads back is one of
// the three kinds with the fields that kind has.
#include "engine/run_log.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const engine::RunLogRecord& record : engine::ParseRunLog(text)) {
        if (!record.time.isValid()) std::abort();
        using Kind = engine::RunLogRecord::Kind;
        if (record.kind == Kind::RunSummary && (record.backedUp < 0 || record.failed < 0)) {
            std::abort();
        }
        if (record.kind == Kind::Entry && (record.counts.copied < 0 || record.counts.failed < 0)) {
            std::abort();
        }
        if (record.kind != Kind::HistoryRemoved && !record.historyLine.isEmpty()) std::abort();
    }
    return 0;
}
