#include "tetoru/tetoru_run.h"

#include "engine/backup_history.h"
#include "engine/backup_run.h"
#include "engine/run_log.h"
#include "platform/test_gate.h"
#include "store/definition_file.h"
#include "store/program_start.h"
#include "store/settings.h"
#include "store/settings_keys.h"
#include "tetoru/power_off.h"
#include "tetoru/run_notification.h"
#include "util/file_ops.h"
#include "util/message_sink.h"

#include <algorithm>
#include <cstdio>

namespace tetoru {
namespace {

qint64 Number(const store::Settings& settings, store::Key key) {
    return store::ReadNumberSetting(settings, key, store::Program::Tetoru);
}

void Summarize(const engine::Engine& engine, int backedUp) {
    std::fprintf(stdout, "TETORU: %d entries backed up, %d failed%s\n", backedUp,
                 engine.FailedEntries(), engine.AbortRequested() ? ", run aborted" : "");
    std::fflush(stdout);
}

// A run nobody watched tells the desktop when it failed (and, when asked,
// when it went well).
void TellTheDesktop(const engine::Engine& engine, int backedUp, bool notifySuccess) {
    const auto notice =
        NoticeOfRun(engine.FailedReports(), backedUp, engine.AbortRequested(), notifySuccess);
    if (!notice) return;
    if (const auto notShown = SendNotice(*notice)) {
        std::fprintf(stderr, "TETORU: the desktop was not notified: %s\n",
                     qUtf8Printable(*notShown));
    }
}

// The engine writes to the run log while the scope lives.
class LogScope {
  public:
    LogScope(engine::Engine& engine, engine::RunLog* log) : engine_(engine) { engine.SetLog(log); }
    ~LogScope() { engine_.SetLog(nullptr); }
    LogScope(const LogScope&) = delete;
    LogScope& operator=(const LogScope&) = delete;

  private:
    engine::Engine& engine_;
};

}  // namespace

ExitStatus RunTetoru(engine::Engine& engine, const QStringList& arguments,
                     const TetoruHooks& hooks) {
    engine::EngineUi& ui = engine.Ui();
    if (store::ClockIsWrong()) {
        ui.StandardMessage(store::WrongDateText(), util::Buttons::Ok, util::Answer::Ok);
        return kWrongDate;
    }
    const store::ProgramStart start = store::StartProgram();
    if (!start.settingsRefused.isEmpty()) {
        std::fprintf(stderr, "TETORU: the settings file cannot be read: %s\n",
                     qUtf8Printable(start.settingsRefused));
        return kEntryFailed;
    }
    if (!start.driveError.isEmpty()) {
        std::fprintf(stderr, "TETORU: new drive letters were not remembered: %s\n",
                     qUtf8Printable(start.driveError));
    }
    const platform::DrivePath& programFolder = start.programFolder;
    const store::Settings& settings = start.settings;
    engine.SetSkipRemovable(Number(settings, store::Key::SkipRemovable) != 0);
    engine.SetHistoryDays(static_cast<int>(std::clamp<qint64>(
        Number(settings, store::Key::HistoryDays), 0, engine::kMostHistoryDays)));

    const QString definitionFile = store::ChooseDefinitionFile(arguments, settings, programFolder);
    // A name that finds no file is a mistake on the command line: backing up
    // nothing and reporting success (or powering off) would hide it.
    if (!arguments.join(u' ').isEmpty() && !util::FileExists(platform::DrivePath(definitionFile))) {
        std::fprintf(stderr, "TETORU: the definition file %s does not exist\n",
                     qUtf8Printable(arguments.join(u' ')));
        return kNoDefinitionFile;
    }
    store::LoadResult loaded = store::LoadDefinitions(definitionFile);
    if (!loaded.warning.isEmpty()) {
        std::fprintf(stderr, "TETORU: %s\n",
                     qUtf8Printable(QString(loaded.warning).replace(u'\n', u' ')));
    }
    if (loaded.refused) return kEntryFailed;
    store::DefinitionList list(std::move(loaded.body));

    // Every run is logged, so that a run nobody watched can be looked at later.
    std::optional<engine::RunLog> log;
    if (const auto logFile = engine::RunLogHostPath(programFolder)) {
        log.emplace(*logFile, QStringLiteral("TETORU"));
    }
    const LogScope logged(engine, log ? &*log : nullptr);

    if (hooks.placeProgressWindow) hooks.placeProgressWindow(settings);
    ui.ShowProgress();
    ui.LetEventsRun();
    const bool updatedOnly = Number(settings, store::Key::NewFileOnly) != 0;
    engine.SetUnattended(true);
    const int backedUp =
        updatedOnly ? engine::RunBackupUpdated(engine, list) : engine::RunBackupAll(engine, list);
    ui.HideProgress();
    // Tests of two programs saving one file hold the run here, between its
    // reading of the file and its save.
    platform::WaitAtTestGateFromEnvironment("TETORU_TEST_HOLD_BEFORE_SAVE");
    bool saved = true;
    if (list.Modified()) {
        QString error;
        // Only the run's changes are merged into the file: the list itself
        // is let go first, so that a long list is not in memory twice.
        const store::DefinitionChanges changes = list.Changes();
        const bool listIsEmpty = list.IsEmpty();
        list = store::DefinitionList();
        const store::SaveResult result =
            store::SaveChanges(definitionFile, changes, listIsEmpty, &error);
        saved = result.ok;
        if (result.nothingToDo) util::Messages().Beep();
        if (!saved) {
            std::fprintf(stderr, "TETORU: the definition file %s was not saved: %s\n",
                         qUtf8Printable(definitionFile), qUtf8Printable(error));
        }
    }
    ui.LetEventsRun();
    Summarize(engine, backedUp);
    if (log && !log->Error().isEmpty()) {
        std::fprintf(stderr, "TETORU: the run log %s was not written: %s\n",
                     qUtf8Printable(log->HostFile().text()), qUtf8Printable(log->Error()));
    }
    TellTheDesktop(engine, backedUp, Number(settings, store::Key::NotifySuccess) != 0);
    if (engine.AbortRequested()) return kAborted;
    if (Number(settings, store::Key::AutoPowerOff) != 0) RequestPowerOff(settings);
    // Unsaved last-backup times make the next run repeat this one's work: a
    // failure all the same, never a success.
    return engine.FailedEntries() > 0 || !saved ? kEntryFailed : kAllBackedUp;
}

}  // namespace tetoru
