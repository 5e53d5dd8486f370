#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <vector>

namespace platform {

struct FolderFile {
    QString name;
    qint64 size = 0;
    qint64 modifiedNs = 0;  // modification time, nanoseconds since the Unix epoch
};

struct FolderFiles {
    std::vector<FolderFile> files;  // in the order the folder lists them
    bool complete = true;           // false when the folder could not be read to its end
    QString error;                  // why it was not complete
};

// The regular files of a folder given in the Windows form, for a listing that
// shows only names, sizes and times: one pass over the folder and, per file,
// one status call that asks for nothing else. The names are those
// SearchDirectory finds with "*.*" (no names beginning with ".", none that
// the Windows form cannot carry); links to files are read through; folders,
// links to folders and anything but a regular file are left out. A folder
// that does not exist gives no files and is not complete.
FolderFiles ListFolderFiles(const DrivePath& driveFolder);

}  // namespace platform
