#pragma once

#include "engine/engine.h"
#include "store/definition_list.h"

#include <QString>

namespace engine {

// Backs up every entry of the list, in order; returns how many succeeded.
// Each success rewrites its entry's last-backup time (setting the list's
// modified flag); the run stops after the current entry when aborted.
int RunBackupAll(Engine& engine, store::DefinitionList& list);

// The same for the entries whose folder changed since their last backup.
int RunBackupUpdated(Engine& engine, store::DefinitionList& list);

// The save-now of the registration dialog, with the dialog's values.
struct BackupNowRequest {
    QString source;
    QString destination;  // the text of the chosen destination line
    int option = 0;       // 0 plain copy, 1 and 2 the archive kinds
    bool withSubFolders = false;
    bool deleteMissing = false;
};

struct BackupNowResult {
    bool succeeded = false;
    store::BackupTime newTime;
    QString resultText;       // what was backed up, for the completion message
    bool registered = false;  // the source has an entry, whose time was rewritten
};

BackupNowResult BackupEntryNow(Engine& engine, store::DefinitionList& list,
                               const BackupNowRequest& request);

// The completion message of the save-now, with its emphasis codes.
QString BackupNowMessage(const QString& resultText);

}  // namespace engine
