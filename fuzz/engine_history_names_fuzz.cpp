// Names found in a history folder may be anything a person or another program
// put there: reading their times never crashes, and a time read back names
// the same second the stamp spells.
#include "engine/backup_history.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString name =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const bool folder : {true, false}) {
        const std::optional<QDateTime> time = engine::HistoryEntryTime(name, folder);
        if (time && folder && !name.startsWith(engine::HistoryStamp(*time))) std::abort();
    }
    return 0;
}
