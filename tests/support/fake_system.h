#pragma once

#include "platform/drive_table.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// A folder standing for a machine's mount table and disk names, read by drive
// detection in place of /proc/self/mountinfo and /dev/disk. Disks are plugged
// and unplugged by rewriting its files; a mount point's folder is created under
// the fake root.
class FakeSystem {
  public:
    FakeSystem();

    QString Root() const { return dir_.path(); }
    platform::DetectionSources Sources() const { return {platform::HostPath(Root())}; }
    // The host folder that a mount point stands for.
    QString HostOf(const QString& mountPoint) const { return Root() + mountPoint; }

    // A block device "/dev/<device>" carrying a file system with this UUID
    // (none when empty) and label.
    void AddDisk(const QString& device, const QString& uuid, const QString& label = {});
    void Mount(const QString& device, const QString& mountPoint,
               const QString& type = QStringLiteral("ext4"),
               const QString& fsRoot = QStringLiteral("/"));
    void Unmount(const QString& mountPoint);
    void UnmountAll();

  private:
    struct Mounted {
        QString device;
        QString mountPoint;
        QString type;
        QString fsRoot;
    };
    void WriteMountTable() const;

    QTemporaryDir dir_;
    QList<Mounted> mounts_;
};

}  // namespace testing_support
