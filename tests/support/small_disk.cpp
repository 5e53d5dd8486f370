#include "support/small_disk.h"

#include <QFile>

#include <sys/mount.h>

namespace testing_support {

SmallDisk::SmallDisk(int kilobytes) {
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    mounted_ = mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                     options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

}  // namespace testing_support
