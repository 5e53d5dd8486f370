#pragma once

#include "platform/host_path.h"

#include <QString>

namespace platform {

// A host path with every link resolved; the part below the nearest existing
// folder is kept as written. An empty path comes back unchanged. `found` is
// what a look at `hostPath` just found there, when the caller made one.
HostPath CanonicalPath(const HostPath& hostPath, HostLook::Kind found = HostLook::Kind::Unknown);

// While one of these lives, the resolved form of each folder above a path
// (its parent and higher) is remembered, so that a backup run over thousands
// of registrations in a few parent folders resolves each parent once: the
// last component costs one look, whatever the depth. A link made or moved
// above a path while the scope lives goes unseen until the scope ends, so a
// scope lasts one run, never the life of a program. Scopes nest; the memory is
// dropped when the outermost one ends. User-interface thread only.
class CanonicalFolderScope {
  public:
    CanonicalFolderScope();
    ~CanonicalFolderScope();
    CanonicalFolderScope(const CanonicalFolderScope&) = delete;
    CanonicalFolderScope& operator=(const CanonicalFolderScope&) = delete;
};

}  // namespace platform
