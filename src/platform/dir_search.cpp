#include "platform/dir_search.h"

#include "platform/attributes.h"
#include "platform/file_name_match.h"
#include "platform/host_path.h"
#include "platform/mount_table.h"
#include "platform/system_calls.h"

#include <QDir>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace platform {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

qint64 ModifiedNs(const struct stat& st) {
    return static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

// A name the Windows form can address and that round-trips through the host's
// file-name encoding.
bool Addressable(const QByteArray& raw, const QString& name) {
    if (raw.contains('\\') || raw.contains(':')) return false;
    // Only a name that is not valid in the host's encoding fails to round-trip.
    return !name.contains(QChar::ReplacementCharacter) || QFile::encodeName(name) == raw;
}

bool OnFat(int dirFd) {
    struct statfs fs;
    return fstatfs(dirFd, &fs) == 0 && fs.f_type == 0x4d44;  // MSDOS_SUPER_MAGIC
}

bool OnFatPath(const QByteArray& path) {
    struct statfs fs;
    return statfs(path.constData(), &fs) == 0 && fs.f_type == 0x4d44;  // MSDOS_SUPER_MAGIC
}

QString ChildPath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

enum class Described { Found, LeftOut, Failed };

// Fills `entry` from the folder entry `raw` of `folder` (open as `dirFd`).
// Left out: anything but a regular file or folder, a link to a folder, and an
// entry that is gone (it vanished since the listing, or is a dangling link).
// Failed (errno set): the entry is there but could not be examined, so a
// listing that contains it is not complete.
Described Describe(int dirFd, const char* folder, const char* raw, bool onFat, FoundEntry& entry) {
    struct stat st;
    if (sys::StatAt(dirFd, folder, raw, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? Described::LeftOut : Described::Failed;
    }
    if (S_ISLNK(st.st_mode)) {
        if (sys::StatAt(dirFd, folder, raw, &st, 0) != 0) {
            return errno == ENOENT || errno == ELOOP || errno == ENOTDIR ? Described::LeftOut
                                                                         : Described::Failed;
        }
        if (!S_ISREG(st.st_mode)) return Described::LeftOut;
    }
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return Described::LeftOut;
    entry.isFolder = S_ISDIR(st.st_mode);
    entry.size = entry.isFolder ? 0 : st.st_size;
    entry.modifiedNs = ModifiedNs(st);
    entry.attributes = entry.isFolder ? kDirectory : kArchive;
    if ((st.st_mode & S_IWUSR) == 0) entry.attributes |= kReadOnly;
    if (onFat) {
        const int fd = openat(dirFd, raw, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            if (const auto fat = ReadFatAttributes(fd)) entry.attributes |= *fat;
            close(fd);
        }
    }
    return Described::Found;
}

// Adds the entry, or marks the listing incomplete when it could not be examined.
void AddDescribed(int dirFd, const char* folder, const char* raw, bool onFat, FoundEntry& entry,
                  SearchResult& result) {
    switch (Describe(dirFd, folder, raw, onFat, entry)) {
        case Described::Found:
            result.entries.append(entry);
            break;
        case Described::LeftOut:
            break;
        case Described::Failed:
            if (result.complete) {
                result.error = QString::fromLocal8Bit(std::strerror(errno)) + u'\n' + entry.name;
            }
            result.complete = false;
            break;
    }
}

}  // namespace

SearchResult SearchHostFolder(const QString& hostFolder, const QString& namePattern) {
    SearchResult result;
    const QByteArray folderPath = QFile::encodeName(hostFolder);
    std::unique_ptr<DIR, DirCloser> dir(sys::OpenDir(folderPath.constData()));
    if (!dir) {
        result.complete = false;
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    const int dirFd = dirfd(dir.get());
    const bool onFat = OnFat(dirFd);
    const bool wild = HasWildcard(namePattern);
    const bool holdsPseudoMounts = HoldsPseudoMountPoints(QDir::cleanPath(hostFolder));
    if (!wild && !namePattern.startsWith(u'.') &&
        Addressable(QFile::encodeName(namePattern), namePattern) &&
        !PseudoMountPoints().contains(ChildPath(hostFolder, namePattern))) {
        // An exact name needs no scan of the folder.
        FoundEntry entry;
        entry.name = namePattern;
        const Described found = Describe(dirFd, folderPath.constData(),
                                         QFile::encodeName(namePattern).constData(), onFat, entry);
        if (found == Described::Found) {
            result.entries.append(entry);
            return result;
        }
    }
    for (;;) {
        errno = 0;
        const dirent* item = sys::ReadDir(dir.get(), folderPath.constData());
        if (!item) {
            if (errno != 0) {
                result.complete = false;
                result.error = QString::fromLocal8Bit(std::strerror(errno));
            }
            break;
        }
        const QByteArray raw(item->d_name);
        if (raw.startsWith('.')) {
            if (raw.startsWith(".kibako-")) result.holdsTemporaries = true;
            continue;
        }
        const QString name = QFile::decodeName(raw);
        if (!Addressable(raw, name)) {
            ++result.passedOver;
            continue;
        }
        if (wild ? !MatchesWildcard(namePattern, name)
                 : !EqualsIgnoringAsciiCase(name, namePattern)) {
            continue;
        }
        if (holdsPseudoMounts && PseudoMountPoints().contains(ChildPath(hostFolder, name)))
            continue;
        FoundEntry entry;
        entry.name = name;
        AddDescribed(dirFd, folderPath.constData(), item->d_name, onFat, entry, result);
    }
    return result;
}

// A single name needs no listing of its folder: the path resolves to it.
SearchResult SearchOneName(const QString& hostPath) {
    SearchResult result;
    const qsizetype slash = hostPath.lastIndexOf(u'/');
    const QString name = hostPath.mid(slash + 1);
    const QByteArray raw = QFile::encodeName(hostPath);
    if (name.isEmpty() || name.startsWith(u'.') || !Addressable(QFile::encodeName(name), name) ||
        PseudoMountPoints().contains(hostPath)) {
        return result;
    }
    FoundEntry entry;
    entry.name = name;
    AddDescribed(AT_FDCWD, nullptr, raw.constData(), OnFatPath(raw), entry, result);
    return result;
}

SearchResult SearchDirectory(const QString& windowsPattern) {
    const qsizetype slash = windowsPattern.lastIndexOf(u'\\');
    QString folder, pattern;
    if (slash >= 0) {
        folder = windowsPattern.left(slash);
        pattern = windowsPattern.mid(slash + 1);
    } else if (windowsPattern.size() > 2 && windowsPattern[1] == u':') {
        folder = windowsPattern.left(2);
        pattern = windowsPattern.mid(2);
    }
    SearchResult result;
    if (!pattern.isEmpty() && !HasWildcard(pattern)) {
        if (const auto one = ToHostPath(windowsPattern)) return SearchOneName(*one);
    }
    const auto host = ToHostPath(folder);
    if (pattern.isEmpty() || !host) {
        result.complete = false;
        result.error = QStringLiteral("path not found");
        return result;
    }
    return SearchHostFolder(*host, pattern);
}

}  // namespace platform
