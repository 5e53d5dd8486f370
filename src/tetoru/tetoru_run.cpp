#include "tetoru/tetoru_run.h"

#include "engine/backup_run.h"
#include "platform/clock.h"
#include "platform/drive_table.h"
#include "platform/program_folder.h"
#include "store/definition_file.h"
#include "store/settings.h"
#include "store/settings_keys.h"
#include "tetoru/power_off.h"
#include "util/environment.h"
#include "util/file_ops.h"
#include "util/program_folder.h"

#include <cstdio>

namespace tetoru {
namespace {

const QString kWrongDateText = QStringLiteral(
    "日付が正しくありません。 コントロール・パネルで正しい日付・時刻を設定して下さい");

qint64 Number(const store::Settings& settings, store::Key key) {
    return store::ReadNumberSetting(settings, key, store::Program::Tetoru);
}

void Summarize(const engine::Engine& engine, int backedUp) {
    std::fprintf(stdout, "TETORU: %d entries backed up, %d failed%s\n", backedUp,
                 engine.FailedEntries(), engine.AbortRequested() ? ", run aborted" : "");
    if (engine.PassedOverNames() > 0) {
        std::fprintf(stdout, "TETORU: %d names that cannot be stored were passed over\n",
                     engine.PassedOverNames());
    }
    std::fflush(stdout);
}

}  // namespace

ExitStatus RunTetoru(engine::Engine& engine, const QStringList& arguments,
                     const TetoruHooks& hooks) {
    engine::EngineUi& ui = engine.Ui();
    if (platform::Now().date().year() < 2000) {
        ui.StandardMessage(kWrongDateText, util::Buttons::Ok, util::kAnswerOk);
        return kWrongDate;
    }
    // The drive table comes first: the program folder's Windows form depends on it.
    QString driveError;
    platform::SetCurrentDrives(platform::DriveTable::Load(
        platform::HostProgramFolder() + QStringLiteral("/Kibako.INI"), &driveError));
    if (!driveError.isEmpty()) {
        std::fprintf(stderr, "TETORU: new drive letters were not remembered: %s\n",
                     qUtf8Printable(driveError));
    }
    const QString programFolder = util::ProgramFolder();
    const store::Settings settings(store::SettingsFileIn(programFolder));
    util::CheckEnvironment(settings.FilePath());
    engine.SetSkipRemovable(Number(settings, store::Key::SkipRemovable) != 0);

    const QString definitionFile = store::ChooseDefinitionFile(arguments, settings, programFolder);
    // A name that finds no file is a mistake on the command line: backing up
    // nothing and reporting success (or powering off) would hide it.
    if (!arguments.join(u' ').isEmpty() && !util::FileExists(definitionFile)) {
        std::fprintf(stderr, "TETORU: the definition file %s does not exist\n",
                     qUtf8Printable(arguments.join(u' ')));
        return kNoDefinitionFile;
    }
    const store::LoadResult loaded = store::LoadDefinitions(definitionFile);
    if (!loaded.warning.isEmpty()) {
        std::fprintf(stderr, "TETORU: %s\n",
                     qUtf8Printable(QString(loaded.warning).replace(u'\n', u' ')));
    }
    store::DefinitionList list(loaded.body);

    if (hooks.placeProgressWindow) hooks.placeProgressWindow(settings);
    ui.ShowProgress();
    ui.LetEventsRun();
    const bool updatedOnly = Number(settings, store::Key::NewFileOnly) != 0;
    engine.SetUnattended(true);
    const int backedUp =
        updatedOnly ? engine::RunBackupUpdated(engine, list) : engine::RunBackupAll(engine, list);
    ui.HideProgress();
    if (list.Modified()) {
        QString error;
        if (!store::SaveDefinitions(definitionFile, list, &error)) {
            std::fprintf(stderr, "TETORU: the definition file was not saved: %s\n",
                         qUtf8Printable(error));
        }
    }
    ui.LetEventsRun();
    Summarize(engine, backedUp);
    if (engine.AbortRequested()) return kAborted;
    if (Number(settings, store::Key::AutoPowerOff) != 0) RequestPowerOff(settings);
    return engine.FailedEntries() > 0 ? kEntryFailed : kAllBackedUp;
}

}  // namespace tetoru
