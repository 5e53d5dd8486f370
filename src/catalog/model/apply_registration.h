#pragma once

#include <QString>

#include <optional>

#include "store/backup_entry.h"

namespace catalog {

class CatalogModel;

// What storing a registration leaves for the window to do.
struct RegistrationStored {
    // The current registration view is to be rebuilt.
    bool rebuildView = false;
    // The message that names a registration the definition file cannot hold.
    std::optional<QString> refusal;
};

// Stores a registration and makes the catalog follow it: the row of the
// folder on screen shows the new destination, flags and (for an archive that
// exists) its time. Sub-folders each as an entry registers every folder below
// the source with a mirrored destination; sub-folders in one archive removes
// the registrations below it, which the whole-tree entry now covers. The
// current registration view is to be rebuilt when the row was not there, or
// the rows below changed; the drive view is patched in place, each shown cell
// through the model's listener. A registration the definition file cannot
// hold (a control character that frames its entries) is refused with a
// message to show, and nothing is stored or painted; so is each such folder
// below a source registered folder by folder (the first of them is named).
RegistrationStored ApplyRegistration(CatalogModel& model, const store::BackupEntry& entry);

// After a run: every row of the current view whose folder has an entry shows
// the entry's last-backup time (the registration row's source in the
// destination view). Each lookup is one search of the sorted list.
void ShowLastBackups(CatalogModel& model);

}  // namespace catalog
