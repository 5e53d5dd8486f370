#pragma once

#include "engine/engine.h"
#include "platform/path_kinds.h"

#include <QString>

namespace engine {

// For the length of one archive update, when the engine keeps history (made
// only then, with the host paths of the source folder and the archive): first
// removes the archive's history older than the setting's days, then keeps the
// members the update replaces (and, with `deleteMissing`, deletes) in
// "<archive folder>/.kibako-history/<archive name> <run start>.<ext>".
//
// The archive is linked there whole before the update (no data is written),
// and when the scope ends that history archive is rewritten to the members
// the update replaced, or removed when it replaced none. Where links are not
// kept, the members about to be replaced are copied there before the update. Either way the old
// members are in the history before the archive changes.
class ArchiveHistory {
  public:
    // `archive` names the archive in messages.
    ArchiveHistory(Engine& engine, const platform::DrivePath& archive,
                   const platform::HostPath& hostSource, const platform::HostPath& hostArchive,
                   bool withSubFolders, bool deleteMissing);
    ~ArchiveHistory();
    ArchiveHistory(const ArchiveHistory&) = delete;
    ArchiveHistory& operator=(const ArchiveHistory&) = delete;

    // False, after showing why, when the old members cannot be kept: the
    // update must then not run.
    bool Kept() const { return kept_; }

  private:
    bool Keep(Engine& engine, const platform::DrivePath& archive,
              const platform::HostPath& hostSource, const platform::HostPath& hostArchive,
              bool withSubFolders, bool deleteMissing);

    bool kept_ = true;
    platform::HostPath hostArchive_;
    platform::HostPath linked_;  // the history archive linked to the whole old archive
};

}  // namespace engine
