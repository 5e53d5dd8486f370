// ファイル → バックアップから復元 and バックアップの照合: the registration of
// the folder the catalog shows, restored from its backup (whole from the
// folder grid, the current and marked files from the file grid) or checked
// against it.
#include "catalog/commands/restore_commands.h"

#include "catalog/forms/entry_form.h"
#include "catalog/forms/restore_windows.h"
#include "catalog/grid/active_grid.h"
#include "catalog/grid/grid_state.h"
#include "catalog/window/busy_cursor.h"
#include "catalog/window/list_form.h"
#include "dialogs/message_box.h"
#include "engine/backup_verify.h"
#include "engine/resolve_destination.h"
#include "engine/restore_history.h"
#include "engine/restore_run.h"
#include "engine/windows/qt_engine_ui.h"
#include "platform/host_path.h"

#include <QFileDialog>

namespace catalog {
namespace {

const QString kRestoreTitle = QStringLiteral("バックアップから復元");
const QString kVerifyTitle = QStringLiteral("バックアップの照合");

std::optional<QString> AskTarget(QWidget* parent, const QString& sourceFolder) {
    const util::Answer answer = dialogs::ShowMessage(
        parent,
        {QStringLiteral(
             "%1 へ復元します。\n\n「はい」：元のフォルダーへ\n「いいえ」：別のフォルダーを選ぶ")
             .arg(sourceFolder),
         util::Buttons::YesNoCancel, util::Answer::Yes, widgets::BoxIcon::None, kRestoreTitle});
    if (answer == util::Answer::Yes) return QString();
    if (answer != util::Answer::No) return std::nullopt;
    QFileDialog dialog(parent, QStringLiteral("復元先の指定"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);  // the sidebar needs Qt's own
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    QList<QUrl> urls;
    for (const SidebarPlace& place : EntryForm::DrivePlaces()) urls.append(place.url);
    dialog.setSidebarUrls(urls);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void ShowReport(QWidget* parent, const QString& title, const QString& text) {
    ReportForm form(parent, title, text);
    form.exec();
}

QString JapaneseDifference(const engine::Difference& difference) {
    QString what;
    switch (difference.kind) {
        case engine::DifferenceKind::MissingInBackup:
            what = QStringLiteral("バックアップにない");
            break;
        case engine::DifferenceKind::OlderInBackup:
            what = QStringLiteral("バックアップが古い");
            break;
        case engine::DifferenceKind::SizeOrTime:
            what = QStringLiteral("サイズか日時が違う");
            break;
        case engine::DifferenceKind::Content:
            what = QStringLiteral("内容が違う");
            break;
        case engine::DifferenceKind::ArchiveTest:
            what = QStringLiteral("読めない");
            break;
        case engine::DifferenceKind::MethodNotChecked:
            what = QStringLiteral("この圧縮方式は検査できません");
            break;
        case engine::DifferenceKind::OnlyInBackup:
            what = QStringLiteral("バックアップにだけある");
            break;
    }
    QString text = what;
    if (!difference.name.isEmpty()) text += QStringLiteral("：　") + difference.name;
    if (!difference.detail.isEmpty()) text += QStringLiteral("　(") + difference.detail + u')';
    return text;
}

// The registration of the folder the file grid lists, and where that folder
// lies in it.
const store::BackupEntry* ShownRegistration(ListForm& form,
                                            const std::vector<store::BackupEntry>& entries,
                                            QString& below) {
    form.ListFiles();
    const store::BackupEntry* entry =
        engine::HoldingRegistration(entries, form.ListedFolder(), below);
    if (!entry) {
        util::Messages().StandardMessage(
            QStringLiteral("このフォルダーは登録されていません\n") + form.ListedFolder(),
            util::Buttons::Ok, util::Answer::Ok);
    }
    return entry;
}

// The current file of the file grid and the marked ones.
QStringList ChosenFiles(ListForm& form) {
    const grid::GridState& g = form.FileRows();
    QStringList names;
    for (int row = 0; row < g.rowCount; ++row) {
        if (row == g.currentRow || g.rowMark[static_cast<size_t>(row)] != 0) {
            names.append(grid::CellText(g, 0, row));
        }
    }
    return names;
}

VersionChoice ChooseVersion(QWidget* parent, const QString& fileName,
                            const std::vector<engine::FileVersion>& versions) {
    VersionsForm form(parent, fileName, versions);
    form.exec();
    return form.Choice();
}

std::optional<QDateTime> ChooseTime(QWidget* parent, const QString& sourceFolder) {
    AsOfForm form(parent, sourceFolder);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.At();
}

}  // namespace

RestoreHooks WindowRestoreHooks() { return {AskTarget, ShowReport, ChooseVersion, ChooseTime}; }

namespace {

// The lines of a restore's summary window.
QStringList RestoreReport(const engine::RestorePlan& plan, const engine::RestoreSummary& summary,
                          const QString& host) {
    QStringList report;
    report.append(
        QStringLiteral("%1 → %2").arg(plan.backup, platform::ShownPath(platform::HostPath(host))));
    report.append(QStringLiteral("復元 %1 件、同じ %2 件、残した %3 件、失敗 %4 件%5")
                      .arg(summary.written)
                      .arg(summary.same)
                      .arg(summary.kept.size())
                      .arg(summary.failed.size() + summary.refused.size())
                      .arg(summary.aborted ? QStringLiteral("（中止）") : QString()));
    for (const QString& kept : summary.kept) {
        report.append(QStringLiteral("残した：　") + platform::ShownPath(platform::HostPath(kept)));
    }
    for (const QString& failed : summary.failed) report.append(QStringLiteral("失敗：　") + failed);
    for (const QString& refused : summary.refused)
        report.append(QStringLiteral("フォルダーの外を指す名前：　") + refused);
    for (const QString& unread : plan.unread)
        report.append(QStringLiteral("読めない：　") + unread);
    return report;
}

}  // namespace

void ListForm::RestoreBackup() { RestoreBackupAt(std::nullopt, std::nullopt); }

void ListForm::RestoreBackupAsOf() {
    const std::vector<store::BackupEntry> entries = model_.Definitions().Entries();
    QString below;
    if (!ShownRegistration(*this, entries, below)) return;
    const std::optional<QDateTime> at = restoreHooks_.chooseTime(this, listedFolder_);
    if (at) RestoreBackupAt(at, std::nullopt);
}

void ListForm::ShowVersions() {
    const std::vector<store::BackupEntry> entries = model_.Definitions().Entries();
    QString below;
    const store::BackupEntry* entry = ShownRegistration(*this, entries, below);
    if (!entry) return;
    if (fileRows_.rowCount == 0 || fileRows_.currentRow < 0) {
        util::Messages().StandardMessage(QStringLiteral("ファイルを選んでください"),
                                         util::Buttons::Ok, util::Answer::Ok);
        return;
    }
    const QString name = grid::CellText(fileRows_, 0, fileRows_.currentRow);
    const QString full = below.isEmpty() ? name : below + u'\\' + name;
    engine::RestoreRequest request;
    request.entry = *entry;
    request.below = below;
    request.backup =
        engine::ResolveDestination(*engine_, engine::Owner::Caller, entry->destination).text();
    const auto listedHost = platform::ToHostPath(platform::DrivePath(listedFolder_));
    request.targetRoot = listedHost ? listedHost->text() : QString();
    std::vector<engine::FileVersion> versions;
    if (!request.backup.isEmpty()) {
        BusyCursor busy;
        versions = engine::VersionsOfFile(request, full);
    }
    const VersionChoice choice = restoreHooks_.chooseVersion(this, full, versions);
    if (choice.kind == VersionChoice::Kind::AsOf) {
        RestoreBackupAt(choice.at, QStringList{full});
    } else if (choice.kind == VersionChoice::Kind::Version && choice.index < versions.size()) {
        RestoreBackupAt(std::nullopt, QStringList{full}, versions[choice.index].item);
    }
}

void ListForm::RestoreBackupAt(const std::optional<QDateTime>& at,
                               const std::optional<QStringList>& only,
                               const std::optional<engine::RestoreItem>& version) {
    const std::vector<store::BackupEntry> entries = model_.Definitions().Entries();
    QString below;
    const store::BackupEntry* entry = ShownRegistration(*this, entries, below);
    if (!entry) return;
    const bool files = only || (ActiveGrid() == grid::kFileGridActive && fileRows_.rowCount > 0);
    engine::RestoreRequest request;
    request.entry = *entry;
    if (files) {
        for (const QString& name : only.value_or(ChosenFiles(*this))) {
            request.only.append(only || below.isEmpty() ? name : below + u'\\' + name);
        }
        request.below = below;
    }
    const QString folder = files ? listedFolder_ : entry->sourceFolder;
    const std::optional<QString> target = restoreHooks_.chooseTarget(this, folder);
    if (!target) return;
    std::optional<QString> host = target;
    if (target->isEmpty()) {
        const auto folderHost = platform::ToHostPath(platform::DrivePath(folder));
        host = folderHost ? std::optional<QString>(folderHost->text()) : std::nullopt;
    }
    if (!host || !BeginRun()) return;
    engine::Engine& run = *engine_;
    engine::EngineUi& ui = run.Ui();
    run.ClearAbort();
    run.StartRun();
    ui.ShowProgress();
    ui.SetCountText(QStringLiteral("0"));
    request.backup =
        engine::ResolveDestination(run, engine::Owner::Progress, entry->destination).text();
    request.targetRoot = *host;
    QStringList report;
    if (request.backup.isEmpty()) {
        report.append(QStringLiteral("バックアップが見つかりません：　") + entry->destination);
    } else {
        engine::RestorePlan plan = engine::PlanRestoreAsOf(request, at);
        if (version && plan.readable) {
            // One version of one file: the version chosen, written where the
            // file goes now.
            engine::RestoreItem item = *version;
            item.target = *host + u'/' + item.name.section(u'\\', -1);
            plan.items = {item};
        }
        if (!plan.readable) {
            report.append(QStringLiteral("バックアップを読めません：　") + plan.error);
        } else {
            QtRestoreQuestions questions(&engineUi_->Progress());
            const engine::RestoreSummary summary =
                engine::ApplyRestorePlan(run, plan, {engine::DifferingTarget::Ask, &questions});
            report = RestoreReport(plan, summary, *host);
            if (at) {
                report.insert(1, QStringLiteral("%1 の状態")
                                     .arg(at->toString(QStringLiteral("yyyy/MM/dd HH:mm"))));
            }
        }
    }
    ui.HideProgress();
    run.ClearAbort();
    if (!EndRun()) return;
    listedFolder_.clear();  // the restored files show in the file grid
    ListFiles();
    restoreHooks_.showReport(this, kRestoreTitle, report.join(u'\n'));
    FocusActiveGrid();
}

void ListForm::VerifyBackup() {
    const std::vector<store::BackupEntry> entries = model_.Definitions().Entries();
    QString below;
    const store::BackupEntry* entry = ShownRegistration(*this, entries, below);
    if (!entry || !BeginRun()) return;
    engine::VerifyResult result;
    {
        BusyCursor busy;
        result = engine::VerifyRegistration(*engine_, *entry, {true});
    }
    if (!EndRun()) return;
    QStringList report;
    report.append(QStringLiteral("%1 → %2").arg(
        entry->sourceFolder, result.target.isEmpty() ? entry->destination : result.target));
    report.append(result.Matches()
                      ? QStringLiteral("%1 個のファイルがすべて一致しました").arg(result.matching)
                      : QStringLiteral("違い %1 件、一致 %2 件")
                            .arg(result.differences.size())
                            .arg(result.matching));
    for (const engine::Difference& difference : result.differences) {
        report.append(JapaneseDifference(difference));
    }
    restoreHooks_.showReport(this, kVerifyTitle, report.join(u'\n'));
    FocusActiveGrid();
}

}  // namespace catalog
