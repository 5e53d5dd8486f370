#include "platform/profile_lock.h"

#include "platform/host_name.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>

namespace platform {

ProfileLock::ProfileLock(const HostPath& profileFile) {
    const QByteArray path = HostBytes(profileFile.text() + QStringLiteral(".lock"));
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) return;
    int result = 0;
    do {
        result = ::flock(fd_, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

ProfileLock::~ProfileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the flock
}

}  // namespace platform
