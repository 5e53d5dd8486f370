#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// The pure side of checking the registered folders: which source folders are
// gone, where a moved one may be now, and the rewrites and removals made on a
// copy of the definition body. Nothing here asks a question or touches a window.
namespace kibako::catalog {

// What the check needs to know of the machine.
struct FolderProbe {
    std::function<bool(QChar letter)> isHardDisk;  // upper-case letter, fixed drive
    std::function<bool(const QString& folder)> folderExists;
};

// The probe of the current drive table and file system.
FolderProbe SystemFolderProbe();

// The missing source folders of every drive letter (index 0 is A), in the
// order the entries are stored, each once. Only sources that begin with an
// upper-case letter of a hard disk are checked; an archive's path (one with
// an extension) is checked as its folder.
using MissingFolders = std::array<QStringList, 26>;
MissingFolders FindMissingFolders(const QString& body, const FolderProbe& probe);

// The same path on another hard disk, the first letter from A on where it
// exists as a folder.
std::optional<QString> MovedFolderCandidate(const QString& missing, const FolderProbe& probe);

// True when some entry's source is `folder` or lies below it: a missing folder
// that an earlier rewrite or removal took care of needs no question.
bool HasSourceIn(const QString& body, const QString& folder);

// Every entry whose source, or whose destination, is `oldFolder` or lies below
// it has that part replaced by `newFolder` (ASCII letters compared without
// case; "C:\DATA" does not match "C:\DATA2").
void RewriteFolder(QString& body, const QString& oldFolder, const QString& newFolder);

// Removes every entry whose source, or whose destination, is `oldFolder` or
// lies below it.
void ForgetFolder(QString& body, const QString& oldFolder);

// The body with its entries sorted by source folder (a folder before its
// sub-folders, entries of equal source in their stored order), closed by the
// terminator.
QString SortedBody(const QString& body);

// "Kibako" followed by the month and the day, two digits each.
QString DefaultDefinitionName(const QDate& today);

// The answer as a definition file path: a name without a folder lies in the
// program folder; the extension becomes "Def".
QString NewDefinitionPath(const QString& answer, const QString& programFolder);

}  // namespace kibako::catalog
