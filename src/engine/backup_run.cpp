#include "engine/backup_run.h"

#include "engine/archive_update.h"
#include "engine/backup_history.h"
#include "engine/destination_check.h"
#include "engine/folder_changed.h"
#include "engine/folder_copy.h"
#include "engine/message_tap.h"
#include "engine/resolve_destination.h"
#include "engine/run_log.h"
#include "platform/canonical_path.h"
#include "platform/clock.h"
#include "util/file_ops.h"
#include "util/numbers.h"

#include <QDateTime>

#include <algorithm>

namespace engine {
namespace {

enum class RunKind { All, Updated };

store::BackupTime Now() { return store::BackupTime::At(platform::Now()); }

// An updated archive's new time is its modification time. An update that
// found nothing newer leaves the archive as it was, and its old time would
// send the next run of the changed folders back to it, run after run; the
// time the update started stands then.
store::BackupTime ArchiveTime(const platform::DrivePath& path, const QDateTime& started) {
    const auto ns = util::ModifiedTimeOf(path);
    if (!ns) return store::BackupTime::At(started);
    return store::BackupTime::At(
        std::max(QDateTime::fromMSecsSinceEpoch(*ns / 1'000'000), started));
}

// A folder copy of a registration whose destination is resolved: both folders
// are looked up once, for the check, the history and the copy.
bool CopyRegistration(Engine& engine, const platform::DrivePath& source,
                      const platform::DrivePath& target, bool withSubFolders, bool deleteMissing) {
    const RunFolders folders = LookUpRunFolders(source, target);
    if (DestinationInsideSource(folders.source.host, folders.destination.host, withSubFolders)) {
        engine.Ui().StandardMessage(DestinationInsideSourceText(source, target), util::Buttons::Ok,
                                    util::Answer::Ok);
        return false;
    }
    const FolderHistoryScope history(engine, target, folders.destination.host.path);
    return CopyFolder(engine, folders, withSubFolders, deleteMissing);
}

// Backs one entry up into its resolved target; the new time on success.
std::optional<store::BackupTime> BackUp(Engine& engine, const store::BackupEntry& entry,
                                        const platform::DrivePath& target) {
    const platform::DrivePath source(entry.sourceFolder);
    if (entry.CompressionOf() != store::Compression::None) {
        const QDateTime started = platform::Now();
        if (!UpdateArchive(engine, source, target, entry.IncludesSubFolders(),
                           entry.deleteMissing)) {
            return std::nullopt;
        }
        engine.CountFile();
        return ArchiveTime(target, started);
    }
    if (!CopyRegistration(engine, source, target, entry.IncludesSubFolders(),
                          entry.deleteMissing)) {
        return std::nullopt;
    }
    return Now();
}

// One entry of a run.
EntryOutcome RunEntry(Engine& engine, store::DefinitionList& list, const store::BackupEntry& entry,
                      RunKind kind, QString& target) {
    EngineUi& ui = engine.Ui();
    ui.SetSourceText(entry.sourceFolder);
    ui.SetDestinationText(entry.destination);
    ui.LetEventsRun();
    if (kind == RunKind::Updated &&
        !FolderChangedSince(platform::DrivePath(entry.sourceFolder), entry.lastBackup,
                            entry.IncludesSubFolders())) {
        return EntryOutcome::Unchanged;
    }
    const bool removable = entry.IsRemovableDestination();
    const QString mediaKey = MediaKeyOf(platform::DrivePath(entry.destination));
    // A medium given up earlier asks nothing more, but one that is in a drive
    // is still used.
    const bool givenUp = removable && (engine.MediumSkipped(mediaKey) ||
                                       engine.MediaSkipState() == MediaSkip::SkipAll);
    const Owner owner = kind == RunKind::All ? Owner::Progress : Owner::Caller;
    const platform::DrivePath resolved = ResolveDestination(
        engine, owner, entry.destination, givenUp ? MediumQuestion::DoNotAsk : MediumQuestion::Ask);
    target = resolved.text();
    if (target.isEmpty() && givenUp) return EntryOutcome::MediumSkipped;
    if (target.isEmpty()) {
        if (removable) {
            engine.SkipMedium(mediaKey);
            if (engine.MediaSkipState() == MediaSkip::None) {
                engine.SetMediaSkipState(engine.DriveQuestionTimedOut() ? MediaSkip::SkipAll
                                                                        : MediaSkip::AskEach);
            }
        }
        return EntryOutcome::NoDestination;
    }
    if (removable && !givenUp) engine.SetMediaSkipState(MediaSkip::AskEach);
    const auto newTime = BackUp(engine, entry, resolved);
    if (!newTime) return EntryOutcome::Failed;
    list.SetLastBackup(entry.sourceFolder, *newTime);
    return EntryOutcome::BackedUp;
}

RunCounts CountsSince(const RunCounts& now, const RunCounts& before) {
    return RunCounts{now.copied - before.copied, now.replaced - before.replaced,
                     now.deleted - before.deleted, now.failed - before.failed};
}

int Run(Engine& engine, store::DefinitionList& list, RunKind kind) {
    // The messages of each entry are kept for its log line.
    MessageTap tap(engine.Ui());
    const Engine::UiScope tapped(engine, tap);
    EngineUi& ui = engine.Ui();
    ui.ShowProgress();
    ui.SetCountText(QStringLiteral("0"));
    engine.StartRun();
    RunLog* log = engine.Log();
    if (log) log->StartRun();
    // The folders above the registered ones stay put for the length of a run.
    const platform::CanonicalFolderScope canonicalFolders;
    int backedUp = 0;
    // The entries are read up front: a run rewrites only last-backup times,
    // which leave every entry where it is.
    for (const store::BackupEntry& entry : list.Entries()) {
        EntryReport report;
        report.source = entry.sourceFolder;
        report.destination = entry.destination;
        const int filesBefore = engine.FileCounter();
        const RunCounts countsBefore = engine.Counts();
        tap.TakeMessages();
        report.outcome = RunEntry(engine, list, entry, kind, report.target);
        report.filesCopied = engine.FileCounter() - filesBefore;
        report.counts = CountsSince(engine.Counts(), countsBefore);
        report.reason = tap.TakeMessages();
        report.historyRemoved = engine.TakeHistoryNotes();
        if (report.outcome == EntryOutcome::NoDestination && report.reason.isEmpty()) {
            report.reason =
                QStringLiteral("保存先のメディアが見つかりません：　") + entry.destination;
        }
        if (report.outcome == EntryOutcome::BackedUp) ++backedUp;
        if (report.outcome == EntryOutcome::Failed) engine.NoteFailedEntry(report);
        if (log) log->Entry(report);
        ui.EntryFinished(report);
        ui.LetEventsRun();
        if (engine.AbortRequested()) break;
    }
    if (log) log->RunFinished(backedUp, engine.FailedEntries(), engine.AbortRequested());
    ui.HideProgress();
    ui.SetBusyCursor(false);
    return backedUp;
}

}  // namespace

int RunBackupAll(Engine& engine, store::DefinitionList& list) {
    return Run(engine, list, RunKind::All);
}

int RunBackupUpdated(Engine& engine, store::DefinitionList& list) {
    return Run(engine, list, RunKind::Updated);
}

BackupNowResult BackupEntryNow(Engine& engine, store::DefinitionList& list,
                               const BackupNowRequest& request) {
    EngineUi& ui = engine.Ui();
    engine.ResetFileCounter();
    engine.ClearAbort();
    engine.SetRunStart(platform::Now());
    ui.SetSourceText(request.source);
    ui.SetDestinationText(request.destination);
    ui.ShowProgress();

    BackupNowResult result;
    const platform::DrivePath source(request.source);
    const platform::DrivePath target =
        ResolveDestination(engine, Owner::Registration, request.destination);
    if (!target.isEmpty()) {
        if (request.option == 0) {
            result.succeeded = CopyRegistration(engine, source, target, request.withSubFolders,
                                                request.deleteMissing);
            if (result.succeeded) {
                result.newTime = Now();
                result.resultText = engine.FileCounter() > 0
                                        ? request.destination + QStringLiteral(" へ、\r　") +
                                              QString::number(engine.FileCounter()) +
                                              QStringLiteral("個のファイルをバックアップ")
                                        : QStringLiteral("更新されたファイルはありません");
            }
        } else {
            const QDateTime started = platform::Now();
            result.succeeded = UpdateArchive(engine, source, target, request.withSubFolders,
                                             request.deleteMissing);
            if (result.succeeded) {
                result.newTime = ArchiveTime(target, started);
                result.resultText = request.destination;
            }
        }
    }
    ui.HideProgress();
    ui.SetBusyCursor(false);
    if (result.succeeded && list.HasEntry(request.source)) {
        list.SetLastBackup(request.source, result.newTime);
        result.registered = true;
    }
    return result;
}

QString BackupNowMessage(const QString& resultText) {
    return QChar(1) + QStringLiteral("ファイルの保存・更新が完了しました||    ") + QChar(0) +
           QChar(8) + resultText + QChar(7);
}

}  // namespace engine
