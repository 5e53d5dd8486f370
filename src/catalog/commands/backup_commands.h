#pragma once

#include <QString>

namespace engine {
class Engine;
}
namespace store {
class DefinitionList;
}

namespace catalog {

inline const QString kBackupDoneText = QStringLiteral("バックアップが完了しました");
inline const QString kNothingUpdatedText = QStringLiteral("更新されたフォルダーはありませんでした");

// The summary of an updated-folders backup: the count emphasised, or the
// nothing-updated text for 0.
QString UpdatedSummary(int updated);

// M_ファイル_開始: backs up every entry; returns the text to report the end
// with. The run's SkipRemovable comes from `skipRemovable`.
QString BackupAllCommand(engine::Engine& engine, store::DefinitionList& list, bool skipRemovable);

// M_ファイル_更新 and ZemBTN: backs up the entries whose folder changed;
// returns the text that reports how many were updated.
QString BackupUpdatedCommand(engine::Engine& engine, store::DefinitionList& list,
                             bool skipRemovable);

}  // namespace catalog
