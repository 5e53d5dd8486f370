#pragma once

#include <QtGlobal>

namespace engine {

enum class TimeOrder { Older, Same, Newer };

// How a source file's modification time stands to its backup's, in whole
// seconds. On a FAT destination (2-second steps, local time) times within one
// step, or exactly a whole hour apart (a daylight-saving change), are the
// same, so an unchanged file never looks changed.
TimeOrder CompareToBackup(qint64 sourceNs, qint64 backupNs, bool backupOnFat);

}  // namespace engine
