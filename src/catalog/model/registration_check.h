#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

#include "platform/path_kinds.h"
#include "store/definition_list.h"

// The pure side of checking the registered folders: which source folders are
// gone, where a moved one may be now, and the name of the corrected list. The
// list itself rewrites and removes entries (store::DefinitionList::MoveFolder,
// ForgetFolder). Nothing here asks a question or touches a window.
namespace catalog {

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
MissingFolders FindMissingFolders(const store::DefinitionList& definitions,
                                  const FolderProbe& probe);

// The same path on another hard disk, the first letter from A on where it
// exists as a folder.
std::optional<QString> MovedFolderCandidate(const QString& missing, const FolderProbe& probe);

// "Kibako" followed by the month and the day, two digits each.
QString DefaultDefinitionName(const QDate& today);

// The answer as a definition file path: a name without a folder lies in the
// program folder; the extension becomes "Def".
QString NewDefinitionPath(const QString& answer, const platform::DrivePath& programFolder);

}  // namespace catalog
