#pragma once

#include <QList>
#include <QString>

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
    int passedOver = 0;             // names the Windows form cannot carry ("\" or ":", undecodable)
    bool complete = true;           // false when the folder could not be read to its end
    QString error;                  // why it was not complete
    bool holdsTemporaries = false;  // a name of temporary_names.h's pattern was seen
};

// What a search examines: everything, or only which entries are folders. A
// search for folder names finds folders alone, without sizes, times or
// attributes, and asks the file system about an entry only when the folder's
// listing does not tell its kind.
enum class SearchFor { Everything, FolderNames };

// Searches a folder for a Windows-style pattern: a folder path, "\" and a
// name pattern ("C:\data\*.*", "C:\data\report.txt"). Wildcards follow
// Windows rules (see wildcard.h). Only regular files and folders are found;
// a link to a folder is never followed (left out), a link to a file is read
// through. Names beginning with "." and the mount points of kernel pseudo file
// systems are left out. Entries come in the order the folder lists them.
SearchResult SearchDirectory(const QString& windowsPattern, SearchFor what = SearchFor::Everything);

// The same on a host folder, with a name pattern.
SearchResult SearchHostFolder(const QString& hostFolder, const QString& namePattern,
                              SearchFor what = SearchFor::Everything);

}  // namespace platform
