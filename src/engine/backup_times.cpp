#include "engine/backup_times.h"

#include <cstdlib>

namespace engine {
namespace {

qint64 WholeSeconds(qint64 ns) {
    return ns >= 0 ? ns / 1'000'000'000 : (ns - 999'999'999) / 1'000'000'000;
}

}  // namespace

TimeOrder CompareToBackup(qint64 sourceNs, qint64 backupNs, bool backupOnFat) {
    const qint64 source = WholeSeconds(sourceNs);
    const qint64 backup = WholeSeconds(backupNs);
    if (backupOnFat) {
        const qint64 apart = std::llabs(source - backup);
        if (apart < 2 || std::llabs(apart - 3600) < 2) return TimeOrder::Same;
    }
    if (source == backup) return TimeOrder::Same;
    return source < backup ? TimeOrder::Older : TimeOrder::Newer;
}

}  // namespace engine
