#include "catalog/commands/backup_commands.h"

#include "engine/backup_run.h"
#include "engine/engine.h"

namespace catalog {

QString UpdatedSummary(int updated) {
    if (updated == 0) return kNothingUpdatedText;
    return QChar(8) + QString::number(updated) + QStringLiteral("個") + QChar(7) +
           QStringLiteral("のフォルダーを") + QChar(1) + QStringLiteral("更新しました") + QChar(0);
}

QString BackupAllCommand(engine::Engine& engine, store::DefinitionList& list, bool skipRemovable) {
    engine.SetSkipRemovable(skipRemovable);
    engine::RunBackupAll(engine, list);
    return kBackupDoneText;
}

QString BackupUpdatedCommand(engine::Engine& engine, store::DefinitionList& list,
                             bool skipRemovable) {
    engine.SetSkipRemovable(skipRemovable);
    return UpdatedSummary(engine::RunBackupUpdated(engine, list));
}

}  // namespace catalog
