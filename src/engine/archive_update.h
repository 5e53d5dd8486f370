#pragma once

#include "engine/engine.h"

#include <QString>

namespace engine {

// The command lines handed to the archiver libraries.
QString LzhUpdateCommand(const QString& archive, const QString& source, bool withSubFolders);
QString LzhDeleteCommand(const QString& archive, const QString& source);
// The switch word is "-u" when the archive exists, "-" otherwise, followed by
// "r " with sub-folders or " " without.
QString ZipUpdateCommand(const QString& archive, const QString& source, bool withSubFolders,
                         bool archiveExists);

// Updates an LZH or ZIP archive with the folder's files. A failure of the
// archiver beeps and returns false; an archiver that cannot be called shows
// "ファイル書込みができません" and stops the run. With `deleteMissing`, a
// successful LZH update is followed by the delete command.
bool UpdateArchive(Engine& engine, const QString& source, const QString& archive,
                   bool withSubFolders, bool deleteMissing);

// Removes from an LZH archive the members whose files are gone from the source
// folder; ZIP archives are left alone.
bool DeleteMissingFromArchive(Engine& engine, const QString& source, const QString& archive);

}  // namespace engine
