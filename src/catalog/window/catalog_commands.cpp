// The catalog window's commands: the backups, the options of unattended runs
// and the help file.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QStandardPaths>
#include <QUrl>

#include "catalog/commands/backup_commands.h"
#include "catalog/forms/history_form.h"
#include "catalog/forms/run_log_form.h"
#include "catalog/forms/schedule_form.h"
#include "catalog/model/apply_registration.h"
#include "catalog/window/list_form.h"
#include "dialogs/message_box.h"
#include "engine/engine.h"
#include "engine/run_log.h"
#include "util/program_folder.h"

#ifndef KIBAKO_HELP_FROM_BINDIR
#define KIBAKO_HELP_FROM_BINDIR "../share/doc/kibako"
#endif

namespace catalog {
namespace {

// The Tetoru that goes with this Kibako: beside it (an installation, a
// portable copy), in the build tree's own folder for it, else on the PATH.
platform::HostPath TetoruBesideKibako() {
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {folder + QStringLiteral("/tetoru"), folder + QStringLiteral("/../tetoru/tetoru")}) {
        if (QFileInfo(candidate).isExecutable())
            return platform::HostPath(QDir::cleanPath(candidate));
    }
    const QString found = QStandardPaths::findExecutable(QStringLiteral("tetoru"));
    return platform::HostPath(found.isEmpty() ? folder + QStringLiteral("/tetoru") : found);
}

}  // namespace

void ListForm::BackupAll() {
    if (!BeginRun()) return;
    const QString summary =
        BackupAllCommand(*engine_, model_.Definitions(), options_.skipRemovable != 0);
    if (!EndRun()) return;
    ShowLastBackups(model_);
    ReadRunStatus();
    dialogs::ShowMessage(this, summary);
}

void ListForm::BackupUpdated() {
    if (!BeginRun()) return;
    const QString summary =
        BackupUpdatedCommand(*engine_, model_.Definitions(), options_.skipRemovable != 0);
    if (!EndRun()) return;
    ShowLastBackups(model_);
    ReadRunStatus();
    dialogs::ShowMessage(this, summary);
}

bool ListForm::BeginRun() {
    if (!model_.BeginRun()) return false;
    // The progress window and the engine's questions are windows of their
    // own and stay usable.
    area_->setEnabled(false);
    menuBar()->setEnabled(false);
    return true;
}

bool ListForm::EndRun() {
    const bool closeRequested = model_.EndRun();
    area_->setEnabled(true);
    menuBar()->setEnabled(true);
    if (!closeRequested) return true;
    close();
    return false;
}

bool ListForm::DeferCloseToRunEnd() {
    if (!model_.DeferClose()) return false;
    engine_->RequestAbort();
    return true;
}

void ListForm::ToggleNewFileOnly() {
    options_.newFileOnly = Complement(options_.newFileOnly);
    UpdateOptionMarks();
}

void ListForm::ToggleSkipRemovable() {
    options_.skipRemovable = Complement(options_.skipRemovable);
    UpdateOptionMarks();
}

void ListForm::TogglePowerOff() {
    options_.autoPowerOff = Complement(options_.autoPowerOff);
    UpdateOptionMarks();
}

void ListForm::ToggleNotifySuccess() {
    options_.notifySuccess = Complement(options_.notifySuccess);
    UpdateOptionMarks();
    // Tetoru may run before this window closes: the choice is written at once.
    settings_->PutSettingNumber(store::Key::NotifySuccess, options_.notifySuccess);
}

void ListForm::EditSchedule() {
    ScheduleForm form(platform::UserTimer::ForUser(), TetoruBesideKibako(),
                      util::HostProgramFolder(), this);
    form.exec();
}

void ListForm::EditHistory() {
    HistoryForm form(engine_->HistoryDays(), this);
    if (form.exec() != QDialog::Accepted) return;
    engine_->SetHistoryDays(form.Days());
    // Tetoru may run before this window closes: the choice is written at once.
    settings_->PutSettingNumber(store::Key::HistoryDays, form.Days());
}

void ListForm::ShowRunLog() {
    const auto log = engine::RunLogHostPath(programFolder_);
    RunLogForm form(log ? engine::ReadRunLogs(*log) : std::vector<engine::RunLogRecord>(), this);
    form.exec();
}

void ListForm::OpenHelp() {
    // The program folder first (where KIBAKO_HOME points), then beside the program
    // (a build), then where an installed copy keeps its documentation.
    const QString program = QCoreApplication::applicationDirPath();
    for (const QString& folder :
         {util::HostProgramFolder().text(), program,
          QDir::cleanPath(program + QStringLiteral("/" KIBAKO_HELP_FROM_BINDIR))}) {
        const QString help = folder + QStringLiteral("/Kibako.html");
        if (QFileInfo(help).isFile()) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(help));
            return;
        }
    }
}

}  // namespace catalog
