#pragma once

#include "engine/engine.h"
#include "engine/restore_plan.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace engine {

// A target that differs from its backup, as the replace question shows it.
struct ReplaceQuestion {
    platform::HostPath target;
    qint64 backupTimeNs = 0;
    qint64 backupSize = 0;
    qint64 targetTimeNs = 0;
    qint64 targetSize = 0;
    bool targetNewer = false;
};

enum class ReplaceAnswer { Yes, No, YesToAll, NoToAll };

// The one question of a restore; the catalog shows a window, the tests answer
// from a list. Closing the window or Escape answers No.
class RestoreQuestions {
  public:
    virtual ~RestoreQuestions() = default;
    virtual ReplaceAnswer AskReplace(const ReplaceQuestion& question) = 0;
};

// What becomes of a target that exists and differs from its backup.
enum class DifferingTarget { Ask, Keep, Replace };

struct RestoreOptions {
    DifferingTarget differing = DifferingTarget::Ask;
    RestoreQuestions* questions = nullptr;  // needed for Ask
    bool dryRun = false;                    // decide everything, write nothing
};

struct RestoreSummary {
    int written = 0;  // missing or replaced targets written (or to be, in a dry run)
    int same = 0;     // targets with the backup's size and time, left alone
    std::vector<platform::HostPath> kept;     // differing targets not replaced
    std::vector<platform::HostPath> toWrite;  // dry runs: the targets that would be written
    QStringList failed;                       // "target: reason"
    QStringList refused;                      // backup names that would leave the target folder
    bool aborted = false;

    bool Clean() const { return failed.isEmpty() && refused.isEmpty() && !aborted; }
};

// Applies a plan: a target that does not exist is written; one with the
// backup's size and time is left alone; one that differs is replaced only
// when allowed (the question, or DifferingTarget::Replace). Each file is
// written under a temporary name beside its target and renamed over it, with
// the backup's time; folders are made as needed, but never through a link.
// A failure is recorded for its file and the run goes on; 中止 stops after
// the current file. Progress goes to the engine's window.
RestoreSummary ApplyRestorePlan(Engine& engine, const RestorePlan& plan,
                                const RestoreOptions& options);

// The lines a person reads after a restore: counts, then each kept, failed
// and refused file.
QStringList RestoreSummaryLines(const RestoreSummary& summary);

}  // namespace engine
