#include "engine/backup_times.h"

#include <cstdlib>

namespace engine {
namespace {

constexpr qint64 kNsPerSecond = 1'000'000'000;
constexpr qint64 kNsPerMicrosecond = 1'000;

qint64 FloorDiv(qint64 value, qint64 step) {
    return value >= 0 ? value / step : (value - (step - 1)) / step;
}

TimeOrder SecondsOrder(qint64 sourceNs, qint64 backupNs, bool backupOnFat) {
    const qint64 source = FloorDiv(sourceNs, kNsPerSecond);
    const qint64 backup = FloorDiv(backupNs, kNsPerSecond);
    if (backupOnFat) {
        const qint64 apart = std::llabs(source - backup);
        if (apart < 2 || std::llabs(apart - 3600) < 2) return TimeOrder::Same;
    }
    if (source == backup) return TimeOrder::Same;
    return source < backup ? TimeOrder::Older : TimeOrder::Newer;
}

// Microseconds are what every Linux file system with sub-second times keeps
// at least (100 ns steps on NTFS and SMB); a backup time without a fraction
// comes from a file system that keeps whole seconds, and tells nothing finer.
bool LaterWithinTheSecond(qint64 sourceNs, qint64 backupNs) {
    const qint64 backupUs = FloorDiv(backupNs, kNsPerMicrosecond);
    if (backupUs - FloorDiv(backupUs, 1'000'000) * 1'000'000 == 0) return false;
    return FloorDiv(sourceNs, kNsPerMicrosecond) > backupUs;
}

}  // namespace

TimeOrder CompareToBackup(const FileStamp& source, const FileStamp& backup, bool backupOnFat) {
    const TimeOrder order = SecondsOrder(source.modifiedNs, backup.modifiedNs, backupOnFat);
    if (order != TimeOrder::Same) return order;
    if (source.size != backup.size) return TimeOrder::Newer;
    if (!backupOnFat && LaterWithinTheSecond(source.modifiedNs, backup.modifiedNs)) {
        return TimeOrder::Newer;
    }
    return TimeOrder::Same;
}

}  // namespace engine
