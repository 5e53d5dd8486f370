#pragma once

#include "store/backup_entry.h"

namespace catalog {

class ListForm;

// Stores a registration and makes the catalog follow it: the row of the
// folder on screen shows the new destination, flags and (for an archive that
// exists) its time. Sub-folders each as an entry registers every folder below
// the source with a mirrored destination; sub-folders in one archive removes
// the registrations below it, which the whole-tree entry now covers. Returns true when the current
// registration view must be rebuilt (the row was not there, or the rows
// below changed); the drive view is patched in place. A registration the
// definition file cannot hold (a control character that frames its entries)
// is refused with a message, and nothing is stored or painted; so is each
// such folder below a source registered folder by folder.
bool ApplyRegistration(ListForm& form, const store::BackupEntry& entry);

// After a run: every row of the current view whose folder has an entry shows
// the entry's last-backup time (the registration row's source in the
// destination view). Each lookup is one search of the sorted list.
void ShowLastBackups(ListForm& form);

}  // namespace catalog
