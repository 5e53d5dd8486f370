#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "catalog/rows/full_list.h"
#include "store/backup_entry.h"

namespace catalog {

// Reads folder trees of a drive into drive-view rows. Each folder row carries
// its own registration (destination, last backup, flags) or, when it has none,
// the destination and flags of the nearest registered ancestor that keeps
// its sub-folders in one archive; eight blanks as flags when nothing covers it.
// Sub-folders named "RECYCLED" or beginning with "." or "}" are left out;
// names come in a case-insensitive order. A folder that cannot be read is
// shown without sub-folders.
class DriveReader {
  public:
    // `entries` are the registrations. A row takes the registration of its
    // exact path, else one that differs in ASCII case only and names the same
    // host folder (a path carried over from Windows), never a case twin's.
    explicit DriveReader(const std::vector<store::BackupEntry>& entries);

    // Called every so many folders so that the window can repaint.
    std::function<void()> letEventsRun;

    // The drive row (level 1, NAME "C:"), its folders and theirs read (levels
    // 1 to 3); level-4 folders are listed unread (character 12).
    FullList ScanDrive(QChar letter);

    // The sub-folders of the folder `drivePath` (an unread row of level
    // `level`), as unread rows one level deeper.
    FullList ReadChildren(const QString& drivePath, int level);

    // Sub-folder names of a host folder, filtered and sorted as the rows show them.
    static QStringList SubFolderNames(const QString& hostFolder);

  private:
    struct Registration {
        QString destination;
        QString lastBackup;
        QString flags;
        bool wholeTree = false;
    };
    struct Covering {
        QString destination;
        QString flags;
    };

    void Visit(FullList& out, const QString& host, const QString& drivePath, const QString& name,
               int level, const Covering& inherited, int readLevels);
    Covering CoveringOf(const QString& upperPath) const;
    const Registration* RegistrationOf(const QString& drivePath, const QString& host) const;

    QHash<QString, Registration> registrations_;  // by exact source folder
    QHash<QString, QString> byFolded_;            // AsciiFold(source) -> the first source
    int visited_ = 0;
};

}  // namespace catalog
