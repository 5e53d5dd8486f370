#include "platform/test_gate.h"

#include "platform/host_name.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace platform {

void WaitAtTestGate(const QString& fifo) {
    const QByteArray path = HostBytes(fifo);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISFIFO(info.st_mode)) return;
    int fd = -1;
    do {
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return;
    char buffer[64];
    ssize_t got = 0;
    do {
        got = ::read(fd, buffer, sizeof buffer);
    } while (got > 0 || (got < 0 && errno == EINTR));
    ::close(fd);
}

void WaitAtTestGateFromEnvironment(const char* variable) {
    const QString fifo = qEnvironmentVariable(variable);
    if (!fifo.isEmpty()) WaitAtTestGate(fifo);
}

}  // namespace platform
