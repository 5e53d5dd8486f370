#include "platform/folder_files.h"

#include "platform/dir_search.h"
#include "platform/folder_entries.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "platform/system_calls.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

constexpr unsigned kWanted = STATX_TYPE | STATX_SIZE | STATX_MTIME;

enum class Status { File, LeftOut, Failed };

// Size and time of the entry `raw`, when it is a regular file or a link to
// one. `type` is the folder's d_type: folders and special files are left out
// without a call.
Status Examine(int dirFd, const char* folder, const char* raw, unsigned char type,
               FolderFile& file) {
    if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN) return Status::LeftOut;
    struct statx st;
    const int follow = type == DT_LNK ? 0 : AT_SYMLINK_NOFOLLOW;
    if (sys::StatxAt(dirFd, folder, raw, follow | AT_STATX_DONT_SYNC, kWanted, &st) != 0) {
        // Gone since the listing, a dangling link or a loop: not a file.
        return errno == ENOENT || errno == ELOOP || errno == ENOTDIR ? Status::LeftOut
                                                                     : Status::Failed;
    }
    if (S_ISLNK(st.stx_mode)) return Examine(dirFd, folder, raw, DT_LNK, file);
    if (!S_ISREG(st.stx_mode)) return Status::LeftOut;
    file.size = static_cast<qint64>(st.stx_size);
    file.modifiedNs =
        static_cast<qint64>(st.stx_mtime.tv_sec) * 1'000'000'000 + st.stx_mtime.tv_nsec;
    return Status::File;
}

void MarkIncomplete(FolderFiles& result, const QString& name) {
    if (result.complete) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        if (!name.isEmpty()) result.error += u'\n' + name;
    }
    result.complete = false;
}

}  // namespace

FolderFiles ListFolderFiles(const DrivePath& driveFolder) {
    FolderFiles result;
    const auto host = ToHostPath(driveFolder);
    if (!host) {
        result.complete = false;
        result.error = QStringLiteral("path not found");
        return result;
    }
    const QByteArray folder = HostBytes(host->text());
    FolderEntries dir(folder.constData());
    if (!dir.IsOpen()) {
        MarkIncomplete(result, QString());
        return result;
    }
    const int dirFd = dir.Fd();
    for (;;) {
        errno = 0;
        FolderEntries::Entry item;
        if (!dir.Next(item)) {
            if (errno != 0) MarkIncomplete(result, QString());
            break;
        }
        if (item.name[0] == '.') continue;
        FolderFile file;
        file.name = AddressableName(item.name);
        if (file.name.isNull()) continue;
        switch (Examine(dirFd, folder.constData(), item.name, item.type, file)) {
            case Status::File:
                result.files.push_back(std::move(file));
                break;
            case Status::LeftOut:
                break;
            case Status::Failed:
                MarkIncomplete(result, file.name);
                break;
        }
    }
    return result;
}

}  // namespace platform
