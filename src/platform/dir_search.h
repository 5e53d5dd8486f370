#pragma once

#include "platform/host_path.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

struct FoundEntry {
    QString name;
    bool isFolder = false;
    unsigned attributes = 0;  // see attributes.h
    qint64 size = 0;
    qint64 modifiedNs = 0;  // modification time, nanoseconds since the Unix epoch
};

struct SearchResult {
    QList<FoundEntry> entries;
    QStringList passedOver;         // names the Windows form cannot carry ("\" or ":")
    bool complete = true;           // false when the folder could not be read to its end
    QString error;                  // why it was not complete
    bool holdsTemporaries = false;  // a name of temporary_names.h's pattern was seen
    bool coarseTimes = false;       // SearchHostFolder: the folder is where OnFatFileSystem holds
};

// The name of a folder entry `raw` as a search finds it, through the host name
// mapping (host_name.h), so that names that are not UTF-8 are found too. Null
// for a name the drive form cannot address: it holds "\" or ":".
QString AddressableName(const char* raw);

// What a search reads of each entry: everything; all but the FAT attribute
// bits (hidden, system), which cost a look at the folder's file system that a
// test of names and times does without; or only which entries are folders,
// finding folders alone without sizes, times or attributes and asking the
// file system about an entry only when the folder's listing does not tell its
// kind. Without the FAT bits `coarseTimes` stays false.
enum class SearchDetail { Full, NoFatBits, FolderNames };

// Searches a folder for a drive-path pattern: a folder path, "\" and a
// name pattern ("C:\data\*.*", "C:\data\report.txt"). Wildcards follow
// Windows rules (see file_name_match.h). Only regular files and folders are found;
// a link to a folder is never followed (left out), a link to a file is read
// through. Names beginning with "." and the mount points of kernel pseudo file
// systems are left out. Entries come in the order the folder lists them.
SearchResult SearchDirectory(const DrivePath& drivePattern,
                             SearchDetail detail = SearchDetail::Full);

// A folder path resolved and looked at once: its host path, and whether it is
// a folder that a search of its parent would list (as SearchDirectory of the
// path would find it). The last component must be a name without wildcards.
// `known`, when given, is LookUpHostPath of the same path made a moment ago.
struct FolderLook {
    std::optional<HostPath> hostPath;
    bool listed = false;
};
FolderLook LookAtFolder(const DrivePath& drivePath, const HostLook* known = nullptr);

// The same on a host folder, with a name pattern.
SearchResult SearchHostFolder(const HostPath& hostFolder, const QString& namePattern,
                              SearchDetail detail = SearchDetail::Full);

}  // namespace platform
