#pragma once

#include "engine/engine.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

// Tetoru's two commands that read backups instead of making them.
namespace tetoru {

// --verify: one line per registration and one per difference on standard
// output; 0 when every backup matches its source, 1 when any differs or
// cannot be read. Changes nothing.
int RunVerify(engine::Engine& engine, const QStringList& definitionWords, bool content);

struct RestoreCommand {
    QString source;  // a registered folder or one below it: drive form or host path
    QString to;      // where it goes instead of back into itself; empty for itself
    bool dryRun = false;
    bool overwrite = false;       // replace differing targets instead of keeping them
    std::optional<QDateTime> at;  // the backup as it was then (local time)
};

// The local time of --at, "YYYY-MM-DD HH:MM" (seconds may follow); nothing
// when it is not one.
std::optional<QDateTime> ParseRestoreTime(const QString& text);

// --restore: restores that registration's backup (or the part below
// `source`) asking nothing; differing targets are kept and listed unless
// `overwrite`. 0 when nothing failed, 1 when a file failed or nothing could be
// restored, 2 when stopped by a signal.
int RunRestore(engine::Engine& engine, const QStringList& definitionWords,
               const RestoreCommand& command);

}  // namespace tetoru
