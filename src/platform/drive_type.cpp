#include "platform/drive_type.h"

namespace platform {

DriveType ParseDriveType(const QString& word) {
    const QString lower = word.trimmed().toLower();
    if (lower == QLatin1String("removable")) return DriveType::Removable;
    if (lower == QLatin1String("fixed")) return DriveType::Fixed;
    if (lower == QLatin1String("cdrom")) return DriveType::CdRom;
    return DriveType::Other;
}

QString DriveTypeWord(DriveType type) {
    switch (type) {
        case DriveType::Removable:
            return QStringLiteral("removable");
        case DriveType::Fixed:
            return QStringLiteral("fixed");
        case DriveType::CdRom:
            return QStringLiteral("cdrom");
        default:
            return QStringLiteral("other");
    }
}

}  // namespace platform
