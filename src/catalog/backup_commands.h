#pragma once

#include <QString>

class QWidget;

namespace engine {
class Engine;
}
namespace store {
class DefinitionList;
}

namespace kibako::catalog {

inline const QString kBackupDoneText = QStringLiteral("バックアップが完了しました");
inline const QString kNothingUpdatedText = QStringLiteral("更新されたフォルダーはありませんでした");

// The summary of an updated-folders backup: the count emphasised, or the
// nothing-updated text for 0.
QString UpdatedSummary(int updated);

// M_ファイル_開始: backs up every entry, then reports the end in the system's
// message box over `owner`. The run's SkipRemovable comes from `skipRemovable`.
void BackupAllCommand(QWidget* owner, engine::Engine& engine, store::DefinitionList& list,
                      bool skipRemovable);

// M_ファイル_更新 and ZemBTN: backs up the entries whose folder changed and
// reports how many were updated. Returns that count.
int BackupUpdatedCommand(QWidget* owner, engine::Engine& engine, store::DefinitionList& list,
                         bool skipRemovable);

}  // namespace kibako::catalog
