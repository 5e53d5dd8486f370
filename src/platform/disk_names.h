#pragma once

#include "platform/path_kinds.h"

#include <QHash>
#include <QString>

namespace platform {

// The names udev gives block devices: the file system's UUID and its label,
// keyed by the device's canonical path (so "/dev/mapper/x" and "/dev/dm-0"
// are one device).
struct DiskNames {
    QHash<QString, QString> uuidOf;
    QHash<QString, QString> labelOf;

    QString UuidOf(const QString& device) const;
    QString LabelOf(const QString& device) const;
};

// Reads the links in `diskFolder`/by-uuid and `diskFolder`/by-label
// (normally "/dev/disk"). A missing folder gives no names.
DiskNames ReadDiskNames(const HostPath& diskFolder);

// udev writes characters unsafe in a file name as "\xNN" (a blank in a label
// is "\x20"); this gives the label back.
QString DecodeUdevName(const QString& name);

}  // namespace platform
