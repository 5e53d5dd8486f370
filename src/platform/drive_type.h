#pragma once

#include <QString>

namespace platform {

// Drive types as the Windows drive-type call answers them.
enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Other = 4, CdRom = 5 };

// The words of the settings file: removable, fixed, cdrom, other (any other
// word reads as other).
DriveType ParseDriveType(const QString& word);
QString DriveTypeWord(DriveType type);

}  // namespace platform
