#include "platform/attributes.h"

#include "platform/host_name.h"

#include <QFile>

#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace platform {
namespace {

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool IsFat(int fd) {
    struct statfs fs;
    return fstatfs(fd, &fs) == 0 && fs.f_type == MSDOS_SUPER_MAGIC;
}

}  // namespace

std::optional<unsigned> ReadFatAttributes(int fd) {
    if (!IsFat(fd)) return std::nullopt;
    __u32 fat = 0;
    if (ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &fat) != 0) return std::nullopt;
    return fat & (kHidden | kSystem);
}

std::optional<unsigned> ReadAttributes(const HostPath& hostPath) {
    const QByteArray path = HostBytes(hostPath);
    struct stat st;
    if (stat(path.constData(), &st) != 0) return std::nullopt;
    unsigned attributes = S_ISDIR(st.st_mode) ? kDirectory : kArchive;
    if ((st.st_mode & S_IWUSR) == 0) attributes |= kReadOnly;
    if (OnFatFileSystem(hostPath)) {
        Fd fd(open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd.get() >= 0) {
            if (const auto fat = ReadFatAttributes(fd.get())) attributes |= *fat;
        }
    }
    return attributes;
}

bool WriteAttributes(const HostPath& hostPath, unsigned attributes) {
    const QByteArray path = HostBytes(hostPath);
    struct stat st;
    if (stat(path.constData(), &st) != 0) return false;
    const mode_t mode = (attributes & kReadOnly) ? (st.st_mode & ~S_IWUSR) : (st.st_mode | S_IWUSR);
    if (mode != st.st_mode && chmod(path.constData(), mode & 07777) != 0) return false;

    Fd fd(open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0 || !IsFat(fd.get())) return true;
    __u32 fat = 0;
    if (ioctl(fd.get(), FAT_IOCTL_GET_ATTRIBUTES, &fat) != 0) return false;
    fat = (fat & ~static_cast<__u32>(kHidden | kSystem | kReadOnly)) |
          (attributes & (kHidden | kSystem | kReadOnly));
    return ioctl(fd.get(), FAT_IOCTL_SET_ATTRIBUTES, &fat) == 0;
}

}  // namespace platform

namespace platform {

bool FatFileSystemType(long type) {
    constexpr long kExfatMagic = 0x2011BAB0;
    return type == MSDOS_SUPER_MAGIC || type == kExfatMagic;
}

bool OnFatFileSystem(const HostPath& hostPath) {
    struct statfs fs;
    if (statfs(HostBytes(hostPath).constData(), &fs) != 0) return false;
    return FatFileSystemType(static_cast<long>(fs.f_type));
}

}  // namespace platform
