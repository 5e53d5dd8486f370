#pragma once

#include "platform/host_path.h"

#include <QString>

namespace engine {

// True when backing `source` up into the folder `destination` (both
// Windows-style) would copy the backups into themselves: the destination is
// the source, or lies inside it and the sub-folders are backed up too. Links
// are resolved, so a second path to the same folder is found as well; a
// destination that does not exist yet is judged by its nearest existing
// parent. The registration dialog and a run both ask this.
bool DestinationInsideSource(const platform::DrivePath& source,
                             const platform::DrivePath& destination, bool withSubFolders);
// The same on LookUpHostPath of both folders, made a moment ago.
bool DestinationInsideSource(const platform::HostLook& source,
                             const platform::HostLook& destination, bool withSubFolders);

// The message that refuses such an entry.
QString DestinationInsideSourceText(const platform::DrivePath& source,
                                    const platform::DrivePath& destination);

}  // namespace engine
