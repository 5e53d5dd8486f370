#pragma once

#include "platform/path_kinds.h"

#include <QList>
#include <QSet>
#include <QString>

namespace platform {

struct MountEntry {
    QString mountPoint;
    QString fileSystemType;
    QString device;
    QString fsRoot;  // the folder of the file system that is mounted: "/" for all of it
};

// The mounts of this process as the kernel lists them in /proc/self/mountinfo
// (or `mountInfoPath` when given), in the kernel's order.
QList<MountEntry> ReadMountTable(const HostPath& mountInfoPath = {});

// Mount points of kernel pseudo file systems (/proc, /sys, /dev, /run and the
// like): not user data, so listings leave them out.
const QSet<QString>& PseudoMountPoints();

// Whether any of those mount points lies directly in `folder`.
bool HoldsPseudoMountPoints(const HostPath& folder);

}  // namespace platform
