#include "platform/saved_file.h"

#include "platform/host_name.h"
#include "platform/system_calls.h"
#include "platform/temporary_names.h"

#include <QFile>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace platform {
namespace {

QString ErrorText(int error, const QString& path) {
    return QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(": ") + path;
}

// Writes all of `bytes`; 0 or an errno. `target` names the file for the seam.
int WriteAll(int fd, const QByteArray& bytes, const char* target) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = sys::Write(fd, bytes.constData() + done,
                                       static_cast<std::size_t>(bytes.size() - done), target);
        if (put < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (put == 0) return EIO;
        done += put;
    }
    return 0;
}

// The permission bits the new file gets: the old file's, else what a new
// file gets under the process's umask.
mode_t ModeFor(const char* target) {
    struct stat old;
    if (stat(target, &old) == 0) return old.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

bool SaveFileAtomically(const HostPath& path, const QByteArray& bytes, QString* error) {
    std::string target = HostBytes(path).toStdString();
    // A link is written through: the file it names is replaced, the link stays.
    if (char* real = realpath(target.c_str(), nullptr)) {
        target = real;
        free(real);
    }
    std::string name;
    const int fd = CreateTemporaryBeside(target, name);
    if (fd < 0) {
        if (error) *error = ErrorText(errno, path.text());
        return false;
    }
    int failure = WriteAll(fd, bytes, target.c_str());
    // File systems without Unix permissions (vfat) may refuse; the data is what counts.
    if (failure == 0) (void)fchmod(fd, ModeFor(target.c_str()));
    if (failure == 0 && sys::Fsync(fd, target.c_str()) != 0) failure = errno;
    if (close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && sys::Rename(name.c_str(), target.c_str()) != 0) failure = errno;
    if (failure != 0) {
        unlink(name.c_str());
        if (error) *error = ErrorText(failure, path.text());
        return false;
    }
    SyncFolder(target);
    return true;
}

}  // namespace platform
