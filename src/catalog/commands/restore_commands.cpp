#include "catalog/commands/restore_commands.h"

#include "catalog/grid/grid_state.h"
#include "catalog/model/catalog_model.h"
#include "engine/engine.h"
#include "engine/resolve_destination.h"
#include "platform/host_path.h"
#include "util/message_sink.h"

namespace catalog {

QString ListedRegistration::NameOf(const QString& fileName) const {
    return below.isEmpty() ? fileName : below + u'\\' + fileName;
}

std::optional<ListedRegistration> RegistrationOfListed(const CatalogModel& model,
                                                       const platform::DrivePath& listed) {
    const std::vector<store::BackupEntry> entries = model.Definitions().Entries();
    ListedRegistration shown;
    const store::BackupEntry* entry = engine::HoldingRegistration(entries, listed, shown.below);
    if (!entry) {
        util::Messages().StandardMessage(
            QStringLiteral("このフォルダーは登録されていません\n") + listed.text(),
            util::Buttons::Ok, util::Answer::Ok);
        return std::nullopt;
    }
    shown.entry = *entry;
    return shown;
}

QStringList ChosenFiles(const grid::GridState& files) {
    QStringList names;
    for (int row = 0; row < files.rowCount; ++row) {
        if (row == files.currentRow || files.rowMark[static_cast<size_t>(row)] != 0) {
            names.append(grid::CellText(files, 0, row));
        }
    }
    return names;
}

std::optional<QStringList> RestoreListed(engine::Engine& engine, const ListedRegistration& shown,
                                         const platform::DrivePath& listed,
                                         const RestoreSelection& selection,
                                         RestoreDialogs& dialogs) {
    const store::BackupEntry& entry = shown.entry;
    engine::RestoreRequest request;
    request.entry = entry;
    if (selection.listedFiles) {
        for (const QString& name : selection.files) request.only.append(shown.NameOf(name));
        request.below = shown.below;
    }
    const platform::DrivePath folder =
        selection.listedFiles ? listed : platform::DrivePath(entry.sourceFolder);
    const std::optional<platform::HostPath> target = dialogs.ChooseTarget(folder);
    if (!target) return std::nullopt;
    const std::optional<platform::HostPath> host =
        target->isEmpty() ? platform::ToHostPath(folder) : target;
    if (!host || !dialogs.BeginRun()) return std::nullopt;
    engine::EngineUi& ui = engine.Ui();
    engine.ClearAbort();
    engine.StartRun();
    ui.ShowProgress();
    ui.SetCountText(QStringLiteral("0"));
    request.backup = engine::ResolveDestination(engine, engine::Owner::Progress, entry.destination);
    request.targetRoot = *host;
    QStringList report;
    if (request.backup.isEmpty()) {
        report.append(QStringLiteral("バックアップが見つかりません：　") + entry.destination);
    } else {
        engine::RestorePlan plan = engine::PlanRestoreAsOf(request, selection.at);
        if (selection.version && plan.readable) {
            // One version of one file: the version chosen, written where the
            // file goes now.
            engine::RestoreItem item = *selection.version;
            item.target = platform::HostPath(host->text() + u'/' + item.name.section(u'\\', -1));
            plan.items = {item};
        }
        if (!plan.readable) {
            report.append(QStringLiteral("バックアップを読めません：　") + plan.error);
        } else {
            const engine::RestoreSummary summary = engine::ApplyRestorePlan(
                engine, plan, {engine::DifferingTarget::Ask, &dialogs.ReplaceQuestions()});
            report = RestoreReportLines(plan, summary, *host);
            if (selection.at) {
                report.insert(1,
                              QStringLiteral("%1 の状態")
                                  .arg(selection.at->toString(QStringLiteral("yyyy/MM/dd HH:mm"))));
            }
        }
    }
    ui.HideProgress();
    engine.ClearAbort();
    if (!dialogs.EndRun()) return std::nullopt;
    return report;
}

std::vector<engine::FileVersion> VersionsOfListedFile(engine::Engine& engine,
                                                      const ListedRegistration& shown,
                                                      const platform::DrivePath& listed,
                                                      const QString& fileName) {
    engine::RestoreRequest request;
    request.entry = shown.entry;
    request.below = shown.below;
    request.backup =
        engine::ResolveDestination(engine, engine::Owner::Caller, shown.entry.destination);
    request.targetRoot = platform::ToHostPath(listed).value_or(platform::HostPath());
    if (request.backup.isEmpty()) return {};
    engine.Ui().SetBusyCursor(true);
    std::vector<engine::FileVersion> versions =
        engine::VersionsOfFile(request, shown.NameOf(fileName));
    engine.Ui().SetBusyCursor(false);
    return versions;
}

QStringList RestoreReportLines(const engine::RestorePlan& plan,
                               const engine::RestoreSummary& summary,
                               const platform::HostPath& target) {
    QStringList report;
    report.append(QStringLiteral("%1 → %2").arg(plan.backup.text(), platform::ShownPath(target)));
    report.append(QStringLiteral("復元 %1 件、同じ %2 件、残した %3 件、失敗 %4 件%5")
                      .arg(summary.written)
                      .arg(summary.same)
                      .arg(summary.kept.size())
                      .arg(summary.failed.size() + summary.refused.size())
                      .arg(summary.aborted ? QStringLiteral("（中止）") : QString()));
    for (const platform::HostPath& kept : summary.kept) {
        report.append(QStringLiteral("残した：　") + platform::ShownPath(kept));
    }
    for (const QString& failed : summary.failed) report.append(QStringLiteral("失敗：　") + failed);
    for (const QString& refused : summary.refused)
        report.append(QStringLiteral("フォルダーの外を指す名前：　") + refused);
    for (const QString& unread : plan.unread)
        report.append(QStringLiteral("読めない：　") + unread);
    return report;
}

QStringList VerifyReportLines(engine::Engine& engine, const store::BackupEntry& entry) {
    const engine::VerifyResult result = engine::VerifyRegistration(engine, entry, {true});
    QStringList report;
    report.append(QStringLiteral("%1 → %2").arg(
        entry.sourceFolder, result.target.isEmpty() ? entry.destination : result.target.text()));
    report.append(result.Matches()
                      ? QStringLiteral("%1 個のファイルがすべて一致しました").arg(result.matching)
                      : QStringLiteral("違い %1 件、一致 %2 件")
                            .arg(result.differences.size())
                            .arg(result.matching));
    for (const engine::Difference& difference : result.differences) {
        report.append(DifferenceLine(difference));
    }
    return report;
}

QString DifferenceLine(const engine::Difference& difference) {
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

}  // namespace catalog
