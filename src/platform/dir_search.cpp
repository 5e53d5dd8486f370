#include "platform/dir_search.h"

#include "platform/ascii_fold.h"
#include "platform/attributes.h"
#include "platform/file_name_match.h"
#include "platform/folder_entries.h"
#include "platform/host_name.h"
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

namespace platform {
namespace {

qint64 ModifiedNs(const struct stat& st) {
    return static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

bool Addressable(const QString& name) {
    const auto bytes = HostBytesOf(name);
    return bytes && !bytes->isEmpty() && !AddressableName(bytes->constData()).isNull();
}

// The file system type of an open folder, 0 when unknown.
long FileSystemType(int dirFd) {
    struct statfs fs;
    return fstatfs(dirFd, &fs) == 0 ? static_cast<long>(fs.f_type) : 0;
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

// SearchHostFolder; `openError` is the errno of a folder that could not be
// opened, 0 otherwise.
SearchResult Search(const QString& hostFolder, const QString& namePattern, SearchDetail detail,
                    int& openError) {
    SearchResult result;
    openError = 0;
    const bool foldersOnly = detail == SearchDetail::FolderNames;
    const QByteArray folderPath = HostBytes(hostFolder);
    FolderEntries dir(folderPath.constData());
    if (!dir.IsOpen()) {
        openError = errno;
        result.complete = false;
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    const int dirFd = dir.Fd();
    const long type = detail == SearchDetail::Full ? FileSystemType(dirFd) : 0;
    const bool onFat = type == 0x4d44;  // MSDOS_SUPER_MAGIC: FAT attribute bits
    result.coarseTimes = FatFileSystemType(type);
    const bool wild = HasWildcard(namePattern);
    const bool holdsPseudoMounts = HoldsPseudoMountPoints(HostPath(QDir::cleanPath(hostFolder)));
    if (!wild && !namePattern.startsWith(u'.') && Addressable(namePattern) &&
        !PseudoMountPoints().contains(ChildPath(hostFolder, namePattern))) {
        // An exact name needs no scan of the folder.
        FoundEntry entry;
        entry.name = namePattern;
        const Described found = Describe(dirFd, folderPath.constData(),
                                         HostBytes(namePattern).constData(), onFat, entry);
        if (found == Described::Found) {
            if (!foldersOnly || entry.isFolder) result.entries.append(entry);
            return result;
        }
    }
    for (;;) {
        errno = 0;
        FolderEntries::Entry item;
        if (!dir.Next(item)) {
            if (errno != 0) {
                result.complete = false;
                result.error = QString::fromLocal8Bit(std::strerror(errno));
            }
            break;
        }
        const QByteArray raw(item.name);
        if (raw.startsWith('.')) {
            if (raw.startsWith(".kibako-")) result.holdsTemporaries = true;
            continue;
        }
        const QString name = AddressableName(item.name);
        if (name.isNull()) {
            result.passedOver.append(HostText(raw));
            continue;
        }
        if (wild ? !MatchesWildcard(namePattern, name) : !SameName(name, namePattern)) {
            continue;
        }
        if (holdsPseudoMounts && PseudoMountPoints().contains(ChildPath(hostFolder, name)))
            continue;
        FoundEntry entry;
        entry.name = name;
        if (foldersOnly && item.type != DT_UNKNOWN) {
            // The listing tells the kind; a link is never followed to a folder.
            if (item.type != DT_DIR) continue;
            entry.isFolder = true;
            entry.attributes = kDirectory;
            result.entries.append(entry);
            continue;
        }
        const qsizetype before = result.entries.size();
        AddDescribed(dirFd, folderPath.constData(), item.name, onFat, entry, result);
        if (foldersOnly && result.entries.size() > before && !result.entries.constLast().isFolder)
            result.entries.removeLast();
    }
    return result;
}

}  // namespace

QString AddressableName(const char* raw) {
    const std::size_t length = std::strlen(raw);
    for (std::size_t i = 0; i < length; ++i) {
        if (raw[i] == '\\' || raw[i] == ':') return QString();
    }
    return HostText(QByteArrayView(raw, static_cast<qsizetype>(length)));
}

SearchResult SearchHostFolder(const HostPath& hostFolder, const QString& namePattern,
                              SearchDetail detail) {
    int openError = 0;
    return Search(hostFolder.text(), namePattern, detail, openError);
}

// A single name needs no listing of its folder: the path resolves to it.
SearchResult SearchOneName(const QString& hostPath) {
    SearchResult result;
    const qsizetype slash = hostPath.lastIndexOf(u'/');
    const QString name = hostPath.mid(slash + 1);
    const QByteArray raw = HostBytes(hostPath);
    if (name.isEmpty() || name.startsWith(u'.') || !Addressable(name) ||
        PseudoMountPoints().contains(hostPath)) {
        return result;
    }
    FoundEntry entry;
    entry.name = name;
    AddDescribed(AT_FDCWD, nullptr, raw.constData(), OnFatPath(raw), entry, result);
    return result;
}

FolderLook LookAtFolder(const DrivePath& drivePath, const HostLook* known) {
    const HostLook look = known ? *known : LookUpHostPath(drivePath);
    FolderLook result{look.path, false};
    if (!look.path) return result;
    const QString& hostPath = look.path->text();
    const QString name = hostPath.mid(hostPath.lastIndexOf(u'/') + 1);
    if (name.isEmpty() || name.startsWith(u'.') || !Addressable(name) ||
        PseudoMountPoints().contains(hostPath)) {
        return result;
    }
    // Under a fault seam the look goes through it, as a search's would.
    const bool seamed = sys::detail::g_seam.load(std::memory_order_relaxed) != nullptr;
    if (look.found == HostLook::Kind::Unknown || seamed) {
        struct stat st;
        result.listed = sys::StatAt(AT_FDCWD, nullptr, HostBytes(hostPath).constData(), &st,
                                    AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISDIR(st.st_mode);
    } else {
        result.listed = look.found == HostLook::Kind::Folder;
    }
    return result;
}

SearchResult SearchDirectory(const DrivePath& drivePath, SearchDetail detail) {
    const QString& drivePattern = drivePath.text();
    const qsizetype slash = drivePattern.lastIndexOf(u'\\');
    QString folder, pattern;
    if (slash >= 0) {
        folder = drivePattern.left(slash);
        pattern = drivePattern.mid(slash + 1);
    } else if (drivePattern.size() > 2 && drivePattern[1] == u':') {
        folder = drivePattern.left(2);
        pattern = drivePattern.mid(2);
    }
    SearchResult result;
    if (!pattern.isEmpty() && !HasWildcard(pattern)) {
        if (const auto one = ToHostPath(drivePath)) {
            SearchResult found = SearchOneName(one->text());
            if (detail == SearchDetail::FolderNames && !found.entries.isEmpty() &&
                !found.entries.constFirst().isFolder) {
                found.entries.clear();
            }
            return found;
        }
    }
    // A folder that is there as written needs no look before its listing.
    if (!pattern.isEmpty()) {
        if (const auto written = HostPathAsWritten(DrivePath(folder))) {
            int openError = 0;
            SearchResult found = Search(written->text(), pattern, detail, openError);
            if (openError != ENOENT) return found;
        }
    }
    const auto host = ToHostPath(DrivePath(folder));
    if (pattern.isEmpty() || !host) {
        result.complete = false;
        result.error = QStringLiteral("path not found");
        return result;
    }
    return SearchHostFolder(*host, pattern, detail);
}

}  // namespace platform
