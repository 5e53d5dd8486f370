#include "support/shift_jis_folder.h"

#include "platform/file_moves.h"
#include "platform/host_name.h"

#include <QFile>

#include <sys/stat.h>

namespace testing_support {

ShiftJisFolder::ShiftJisFolder()
    : path_(QFile::encodeName(dir_.path()) + "/\x83\x65\x83\x58\x83\x67"),
      made_(::mkdir(path_.constData(), 0755) == 0) {}

ShiftJisFolder::~ShiftJisFolder() {
    // QTemporaryDir cannot name what is inside.
    if (made_) platform::RemoveHostTree(platform::HostPath(platform::HostText(path_)));
}

platform::HostPath ShiftJisFolder::Host(const QByteArray& name) const {
    return platform::HostPath(platform::HostText(Bytes(name)));
}

}  // namespace testing_support
