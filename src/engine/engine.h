#pragma once

#include "engine/archiver_backend.h"
#include "engine/engine_ui.h"
#include "platform/path_kinds.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace engine {

class RunLog;
class FolderHistory;

// How removable entries are handled once a medium was resolved or given up.
enum class MediaSkip { None = 0, SkipAll = 1, AskEach = 2 };

// The process-wide state of backup runs and the way to the person at the
// machine. One Engine lives as long as the process; runs, folder copies,
// archive updates and media questions all work through it.
class Engine {
  public:
    // `ui` must outlive the engine.
    explicit Engine(EngineUi& ui, ArchiverBackend archiver = ArchiverBackend::Library());
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    EngineUi& Ui() const { return *ui_; }

    // Puts `standIn` between the engine and its user while the scope lives.
    class UiScope {
      public:
        UiScope(Engine& engine, EngineUi& standIn) : engine_(engine), previous_(engine.ui_) {
            engine.ui_ = &standIn;
        }
        ~UiScope() { engine_.ui_ = previous_; }
        UiScope(const UiScope&) = delete;
        UiScope& operator=(const UiScope&) = delete;

      private:
        Engine& engine_;
        EngineUi* previous_;
    };

    // The log every run appends to; none when the program keeps no log.
    // `log` must outlive the engine, or be replaced by nullptr first.
    RunLog* Log() const { return log_; }
    void SetLog(RunLog* log) { log_ = log; }
    const ArchiverBackend& Archiver() const { return archiver_; }

    // The stop request of 中止BTN or of an archive that cannot be written;
    // honoured after the current file or entry.
    bool AbortRequested() const { return abort_; }
    void RequestAbort() { abort_ = true; }
    void ClearAbort() { abort_ = false; }

    // Files copied plus archives updated in this run.
    int FileCounter() const { return fileCounter_; }
    void ResetFileCounter();
    void CountFile();

    // What the run did to backup files, counted as it goes.
    const RunCounts& Counts() const { return counts_; }
    void CountReplaced() { ++counts_.replaced; }
    void CountNewCopy() { ++counts_.copied; }
    void CountDeleted() { ++counts_.deleted; }
    void CountFailedFile() { ++counts_.failed; }
    // The members an archive update added, replaced or deleted.
    void CountMembers(const archiver::MemberCounts& members) {
        counts_.copied += members.added;
        counts_.replaced += members.replaced;
        counts_.deleted += members.deleted;
    }

    // Entries of this run whose copy or archive update failed.
    int FailedEntries() const { return static_cast<int>(failedReports_.size()); }
    const std::vector<EntryReport>& FailedReports() const { return failedReports_; }
    void NoteFailedEntry(const EntryReport& report) { failedReports_.push_back(report); }

    // Media keys given up in this run, each closed by "/": "/(E)PHOTOS/".
    const QString& SkippedMedia() const { return skippedMedia_; }
    void StartRun();
    void SkipMedium(const QString& mediaKey) { skippedMedia_ += mediaKey + u'/'; }
    bool MediumSkipped(const QString& mediaKey) const {
        return skippedMedia_.contains(u'/' + mediaKey + u'/');
    }

    MediaSkip MediaSkipState() const { return mediaSkip_; }
    void SetMediaSkipState(MediaSkip state) { mediaSkip_ = state; }

    // The last title read or written for each drive letter.
    QString CachedTitle(QChar letter) const;
    void CacheTitle(QChar letter, const QString& title);

    // Tetoru runs with nobody at the machine: the drive question closes
    // itself after a while.
    bool Unattended() const { return unattended_; }
    void SetUnattended(bool unattended) { unattended_ = unattended; }
    // The setting SkipRemovable: never ask for a medium.
    bool SkipRemovable() const { return skipRemovable_; }
    void SetSkipRemovable(bool skip) { skipRemovable_ = skip; }
    // The setting HistoryDays: how many days the backups a run replaces or
    // deletes are kept (0: they are not kept).
    int HistoryDays() const { return historyDays_; }
    void SetHistoryDays(int days) { historyDays_ = days; }
    // When this run (or save-now) began: it names the run's history.
    const QDateTime& RunStart() const { return runStart_; }
    void SetRunStart(const QDateTime& start) { runStart_ = start; }
    // The history of the folder copy being made; null when none is kept. The
    // history must outlive its use (see FolderHistoryScope).
    FolderHistory* History() const { return history_; }
    void SetHistory(FolderHistory* history) { history_ = history; }
    // The history folders of the destinations this run wrote to: where room
    // is made when a disk is full.
    const QList<platform::HostPath>& HistoryFolders() const { return historyFolders_; }
    void AddHistoryFolder(const platform::HostPath& hostFolder);
    // What was removed from the history, for the report of the current entry.
    void NoteHistory(const QString& line) { historyNotes_.append(line); }
    QStringList TakeHistoryNotes() { return std::exchange(historyNotes_, {}); }

    // Whether the last drive question closed itself.
    bool DriveQuestionTimedOut() const { return driveTimedOut_; }
    void SetDriveQuestionTimedOut(bool timedOut) { driveTimedOut_ = timedOut; }

  private:
    EngineUi* ui_;
    RunLog* log_ = nullptr;
    RunCounts counts_;
    ArchiverBackend archiver_;
    bool abort_ = false;
    int fileCounter_ = 0;
    std::vector<EntryReport> failedReports_;
    QString skippedMedia_ = QStringLiteral("/");
    MediaSkip mediaSkip_ = MediaSkip::None;
    std::array<QString, 26> titleCache_;
    bool unattended_ = false;
    bool skipRemovable_ = false;
    bool driveTimedOut_ = false;
    int historyDays_ = 0;
    QDateTime runStart_;
    FolderHistory* history_ = nullptr;
    QList<platform::HostPath> historyFolders_;
    QStringList historyNotes_;
};

}  // namespace engine
