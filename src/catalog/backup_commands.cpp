#include "catalog/backup_commands.h"

#include "dialogs/message_box.h"
#include "engine/backup_run.h"
#include "engine/engine.h"

namespace kibako::catalog {

QString UpdatedSummary(int updated) {
    if (updated == 0) return kNothingUpdatedText;
    return QChar(8) + QString::number(updated) + QStringLiteral("個") + QChar(7) +
           QStringLiteral("のフォルダーを") + QChar(1) + QStringLiteral("更新しました") + QChar(0);
}

void BackupAllCommand(QWidget* owner, engine::Engine& engine, store::DefinitionList& list,
                      bool skipRemovable) {
    engine.SetSkipRemovable(skipRemovable);
    engine::RunBackupAll(engine, list);
    dialogs::ShowMessage(owner, kBackupDoneText, dialogs::kMsgOk);
}

int BackupUpdatedCommand(QWidget* owner, engine::Engine& engine, store::DefinitionList& list,
                         bool skipRemovable) {
    engine.SetSkipRemovable(skipRemovable);
    const int updated = engine::RunBackupUpdated(engine, list);
    dialogs::ShowMessage(owner, UpdatedSummary(updated), dialogs::kMsgOk);
    return updated;
}

}  // namespace kibako::catalog
