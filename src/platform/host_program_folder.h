#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <functional>

namespace platform {

// What decides the program folder, read from the environment and the running
// executable by ProgramFolderPlacesNow(); tests fill it themselves.
struct ProgramFolderPlaces {
    QString kibakoHome;        // KIBAKO_HOME, empty when not set
    QString executableFolder;  // the folder of the running executable
    QString xdgDataHome;       // XDG_DATA_HOME, empty when not set
    QString home;              // the user's home folder
};

ProgramFolderPlaces ProgramFolderPlacesNow();

// Whether the program may keep its files in its executable's folder: the
// folder exists and can be written; it is not under /usr, /bin or /sbin, which
// belong to the system's packages even when root could write there; and it is
// not the bin folder of an installation (one with share/doc/kibako beside it,
// as `cmake --install --prefix ~/.local` makes).
bool MayKeepFilesIn(const HostPath& folder);

// The host folder of the program's files: KIBAKO_HOME when set; else the
// executable's folder when `writable` says so (a build tree, a portable copy);
// else $XDG_DATA_HOME/kibako, with ~/.local/share standing in for an unset or
// relative XDG_DATA_HOME (an installed copy). Creates nothing.
HostPath ChooseProgramFolder(const ProgramFolderPlaces& places,
                             const std::function<bool(const HostPath&)>& writable);

// ChooseProgramFolder, creating the data folder when that is the one chosen and
// it is missing (the first start of an installed copy). A folder that cannot
// be created is still returned: reading finds nothing and saving fails there.
HostPath PrepareProgramFolder(const ProgramFolderPlaces& places,
                              const std::function<bool(const HostPath&)>& writable);

// PrepareProgramFolder for this process.
HostPath HostProgramFolder();

}  // namespace platform
