#pragma once

#include "engine/engine_ui.h"
#include "platform/path_kinds.h"

#include <QDateTime>
#include <QFile>
#include <QString>

#include <optional>
#include <vector>

namespace engine {

// The run log: one line for each entry of every run of either program, and a
// summary line for each run, appended to a text file in the program folder.
// It is how a person (and `tetoru --status`) learns whether a night's run
// worked. Lines are UTF-8, their fields separated by tabs; a field's "%",
// tab and line breaks are written as %XX, so every line reads back exactly.
//
// Each line goes to the file in one append, so a crash can cut only the line
// being written; the next run starts on a fresh line, and readers pass over a
// cut line. At the start of a run a log past kRotateBytes is renamed to
// "<name>.1" (the older ones move up to kKeptOldLogs) and a new one begun.
class RunLog {
  public:
    static constexpr qint64 kRotateBytes = 1 << 20;
    static constexpr int kKeptOldLogs = 3;

    // `hostFile` is the log's file; `program` names the writer ("KIBAKO",
    // "TETORU").
    RunLog(platform::HostPath hostFile, QString program);
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Rotates the log when it is too long, opens it for the run and makes
    // sure the next line begins on a line of its own.
    void StartRun();
    // The entry's line, then a line for each past version it removed.
    void Entry(const EntryReport& report);
    // Writes the summary line and closes the log.
    void RunFinished(int backedUp, int failed, bool aborted);

    // Why the last append failed (the disk is full, the folder is gone), or
    // empty. A log that cannot be written never fails a backup.
    const QString& Error() const { return error_; }
    const platform::HostPath& HostFile() const { return hostFile_; }

  private:
    void Append(const QStringList& fields);

    platform::HostPath hostFile_;
    QString program_;
    QFile file_;
    QString error_;
};

// The name of the log in the program folder, and its host path for the
// program folder (nothing when that has no host path).
QString RunLogFileName();
std::optional<platform::HostPath> RunLogHostPath(const platform::DrivePath& programFolder);

// The word a log line uses for an outcome ("ok", "failed", ...), and back.
QString OutcomeWord(EntryOutcome outcome);
std::optional<EntryOutcome> OutcomeOfWord(const QString& word);

// One line of the log, read back.
struct RunLogRecord {
    enum class Kind {
        Entry,           // how one registration's backup went
        RunSummary,      // how a whole run ended
        HistoryRemoved,  // a past version the entry above it removed, and why
    };
    QDateTime time;
    QString program;
    Kind kind = Kind::Entry;
    // An entry's line:
    EntryOutcome outcome = EntryOutcome::Failed;
    QString source;
    QString destination;
    RunCounts counts;
    QString reason;
    // A history line: what was removed and why, as the run said it.
    QString historyLine;
    // A run's summary line:
    int backedUp = 0;
    int failed = 0;
    bool aborted = false;
};

// The records of one log text, oldest first; lines that do not read (a line
// cut by a crash, a comment) are passed over.
std::vector<RunLogRecord> ParseRunLog(const QByteArray& text);

// The records of the log and its rotated predecessors, oldest first.
std::vector<RunLogRecord> ReadRunLogs(const platform::HostPath& hostFile);

// One field of a log line, as written and as read back.
QString EscapeLogField(const QString& field);
QString UnescapeLogField(const QString& field);

}  // namespace engine
