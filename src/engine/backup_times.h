#pragma once

#include <QtGlobal>

namespace engine {

enum class TimeOrder { Older, Same, Newer };

// What a listing tells of a file, for deciding whether its backup is current.
struct FileStamp {
    qint64 modifiedNs = 0;  // nanoseconds since the Unix epoch
    qint64 size = 0;
};

// How a source file stands to its backup. A different size means the source
// changed, whatever the times say (a file can change within the second of its
// copy). Times are compared in whole seconds; within the same second, a source
// later by at least a microsecond is newer when the backup's file system keeps
// sub-second times (its time has a fraction). On a FAT destination (2-second
// steps, local time) times within one step, or exactly a whole hour apart (a
// daylight-saving change), are the same, so an unchanged file never looks
// changed.
TimeOrder CompareToBackup(const FileStamp& source, const FileStamp& backup, bool backupOnFat);

}  // namespace engine
