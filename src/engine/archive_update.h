#pragma once

#include "archiver/commands.h"
#include "engine/engine.h"
#include "platform/path_kinds.h"

#include <QString>

namespace engine {

// The commands handed to the archiver. Paths are passed as values, so any
// folder name reaches the archiver unchanged.
archiver::UnlhaCommand LzhUpdate(const platform::DrivePath& archive,
                                 const platform::DrivePath& source, bool withSubFolders);
archiver::UnlhaCommand LzhDelete(const platform::DrivePath& archive,
                                 const platform::DrivePath& source);
archiver::ZipCommand ZipUpdate(const platform::DrivePath& archive,
                               const platform::DrivePath& source, bool withSubFolders,
                               bool archiveExists);

// The same commands as command-line text, for logs and messages; never
// parsed back.
QString LzhUpdateCommand(const platform::DrivePath& archive, const platform::DrivePath& source,
                         bool withSubFolders);
QString LzhDeleteCommand(const platform::DrivePath& archive, const platform::DrivePath& source);
// The switch word is "-u" when the archive exists, "-" otherwise, followed by
// "r " with sub-folders or " " without.
QString ZipUpdateCommand(const platform::DrivePath& archive, const platform::DrivePath& source,
                         bool withSubFolders, bool archiveExists);

// Updates an LZH or ZIP archive with the folder's files. The archive's folder
// is made when only its last level is missing; a drive that is not ready or a
// folder that cannot be made is shown and fails the update. A failure of the
// archiver beeps and shows its reason with the archive, and returns false; an
// archiver that cannot be called shows "ファイル書込みができません" and stops
// the run. With `deleteMissing`, a successful LZH update is followed by the
// delete command. An update that had to pass over files or folders it could
// not read shows them and returns false, so the entry is tried again.
bool UpdateArchive(Engine& engine, const platform::DrivePath& source,
                   const platform::DrivePath& archive, bool withSubFolders, bool deleteMissing);

// Removes from an LZH archive the members whose files are gone from the source
// folder; ZIP archives are left alone.
bool DeleteMissingFromArchive(Engine& engine, const platform::DrivePath& source,
                              const platform::DrivePath& archive);

}  // namespace engine
