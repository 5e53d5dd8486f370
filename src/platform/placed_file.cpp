#include "platform/placed_file.h"

#include "platform/host_name.h"
#include "platform/system_calls.h"
#include "platform/temporary_names.h"

#include <QFile>
#include <QMutex>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

// Folders whose stale temporaries this process removed already.
void RemoveStaleTemporariesOnce(const std::string& target) {
    static QMutex mutex;
    static QSet<QByteArray> cleaned;
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    {
        const QMutexLocker lock(&mutex);
        if (cleaned.contains(QByteArray::fromStdString(folder))) return;
        cleaned.insert(QByteArray::fromStdString(folder));
    }
    RemoveStaleTemporaries(folder);
}

}  // namespace

HostFileLook LookAtHostFile(const HostPath& hostPath) {
    struct stat st;
    HostFileLook look;
    if (sys::Lstat(HostBytes(hostPath).constData(), &st) != 0) {
        look.kind = errno == ENOENT || errno == ENOTDIR ? HostFileLook::Kind::Nothing
                                                        : HostFileLook::Kind::Unknown;
        return look;
    }
    look.kind = S_ISREG(st.st_mode)   ? HostFileLook::Kind::File
                : S_ISDIR(st.st_mode) ? HostFileLook::Kind::Folder
                : S_ISLNK(st.st_mode) ? HostFileLook::Kind::Link
                                      : HostFileLook::Kind::Other;
    look.size = st.st_size;
    look.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return look;
}

bool PlaceFile(const HostPath& target, qint64 modifiedNs, const FileProducer& produce,
               QString& error) {
    const std::string targetPath = HostBytes(target).toStdString();
    RemoveStaleTemporariesOnce(targetPath);
    const std::string temporary = TemporaryNameBeside(targetPath);
    std::string reason;
    if (!produce(temporary, reason)) {
        ::unlink(temporary.c_str());
        error = QString::fromStdString(reason);
        return false;
    }
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[0].tv_sec = 0;
    times[1].tv_sec = static_cast<time_t>(modifiedNs / 1'000'000'000);
    times[1].tv_nsec = static_cast<long>(modifiedNs % 1'000'000'000);
    if (times[1].tv_nsec < 0) {
        times[1].tv_nsec += 1'000'000'000;
        --times[1].tv_sec;
    }
    if (::utimensat(AT_FDCWD, temporary.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0 ||
        sys::Rename(temporary.c_str(), targetPath.c_str()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
