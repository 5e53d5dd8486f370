#include "platform/regular_file.h"

#include "platform/host_name.h"
#include "platform/system_calls.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

ReadStatus Refuse(const QString& why, QString* error) {
    if (error) *error = why;
    return ReadStatus::Refused;
}

}  // namespace

ReadStatus ReadRegularFile(const HostPath& hostPath, QByteArray& bytes, QString* error) {
    bytes.clear();
    const int fd =
        sys::Open(HostBytes(hostPath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return ReadStatus::Missing;
        return Refuse(QString::fromLocal8Bit(std::strerror(errno)), error);
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Refuse(QStringLiteral("通常のファイルではありません"), error);
    }
    if (st.st_size > kLargestReadFile) {
        close(fd);
        return Refuse(QStringLiteral("ファイルが大きすぎます"), error);
    }
    bytes.resize(static_cast<qsizetype>(st.st_size));
    qsizetype done = 0;
    for (;;) {
        if (done == bytes.size()) {
            // The file may have grown since fstat: read on, within the limit.
            if (bytes.size() >= kLargestReadFile) break;
            bytes.resize(done + 4096);
        }
        const ssize_t got = read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int failure = errno;
            close(fd);
            bytes.clear();
            return Refuse(QString::fromLocal8Bit(std::strerror(failure)), error);
        }
        if (got == 0) break;
        done += got;
    }
    close(fd);
    bytes.truncate(done);
    return ReadStatus::Read;
}

bool OpenRegularFile(const HostPath& hostPath, QFile& file) {
    const int fd =
        sys::Open(HostBytes(hostPath).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        close(fd);
        return false;
    }
    return true;
}

bool OpenRegularFileToAppend(const HostPath& hostPath, QFile& file, QString& error) {
    const int fd =
        sys::Open(HostBytes(hostPath).constData(),
                  O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = QStringLiteral("not a regular file");
        close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        error = file.errorString();
        close(fd);
        return false;
    }
    return true;
}

std::optional<FileIdentity> IdentityOf(const HostPath& hostPath) {
    struct stat st {};
    if (sys::Stat(HostBytes(hostPath).constData(), &st) != 0) return std::nullopt;
    return FileIdentity{
        static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino),
        static_cast<qint64>(st.st_size),
        static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
        static_cast<qint64>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}

}  // namespace platform
