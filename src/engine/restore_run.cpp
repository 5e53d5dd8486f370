#include "engine/restore_run.h"

#include "engine/backup_times.h"
#include "platform/file_copy.h"
#include "platform/host_name.h"
#include "platform/host_path.h"
#include "platform/placed_file.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <optional>

namespace engine {
namespace {

using Kind = platform::HostFileLook::Kind;

// Makes the folders of a target as needed, the folder restored into and
// those above it included.
class FolderMaker {
  public:
    explicit FolderMaker(const platform::HostPath& root) : root_(root.text()) {}

    bool Make(const platform::HostPath& folder, QString& error) {
        return Make(folder.text(), error);
    }

    // Whether this restore made the folder: then it holds only what the
    // restore wrote there.
    bool Made(const platform::HostPath& folder) const { return made_.contains(folder.text()); }

  private:
    bool Make(const QString& folder, QString& error) {
        if (ready_.contains(folder)) return true;
        const bool belowRoot = folder.size() > root_.size();
        const qsizetype slash = folder.lastIndexOf(u'/');
        const platform::HostFileLook look = platform::LookAtHostFile(platform::HostPath(folder));
        if (look.kind == Kind::Nothing) {
            if (slash > 0 && !Make(folder.left(slash), error)) return false;
            if (const int code = platform::MakeHostFolder(platform::HostPath(folder))) {
                error = folder + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code));
                return false;
            }
            made_.insert(folder);
        } else if (belowRoot && look.kind != Kind::Folder) {
            // Below the folder restored into, a link is never gone through:
            // the file would land outside it. The folder itself and those
            // above it may be reached through links.
            error = folder + QStringLiteral(": not a folder");
            return false;
        } else if (belowRoot && slash > 0 && !Make(folder.left(slash), error)) {
            return false;
        }
        ready_.insert(folder);
        return true;
    }

    // Host path texts, cut at each "/" on the way up.
    QString root_;
    QSet<QString> ready_;
    QSet<QString> made_;
};

platform::HostPath ParentOf(const platform::HostPath& hostPath) {
    const QString& text = hostPath.text();
    return platform::HostPath(text.left(text.lastIndexOf(u'/')));
}

bool SameAsBackup(const RestoreItem& item, const platform::HostFileLook& target) {
    return CompareToBackup({target.modifiedNs, target.size}, {item.timeNs, item.size},
                           item.coarseTime) == TimeOrder::Same;
}

platform::CopyOutcome CopyBackupFile(Engine& engine, const RestoreItem& item,
                                     platform::ExistingTarget existing) {
    EngineUi& ui = engine.Ui();
    return platform::CopyHostFile(
        item.backupFile, item.target,
        [&ui](qint64 done, qint64 total) {
            ui.SetFileProgress(done, total);
            ui.LetEventsRun();
        },
        existing);
}

bool WriteItem(Engine& engine, const RestorePlan& plan, const RestoreItem& item, QString& error) {
    if (plan.kind == BackupKind::FolderCopy) {
        const platform::CopyOutcome outcome =
            CopyBackupFile(engine, item, platform::ExistingTarget::Replace);
        if (!outcome.ok) error = outcome.description;
        return outcome.ok;
    }
    const archiver::ArchiveReader& reader = item.archive ? *item.archive : *plan.archive;
    const archiver::StoredMember& member = reader.members().at(item.member);
    return platform::PlaceFile(
        item.target, item.timeNs,
        [&](const std::string& temporary, std::string& reason) {
            return reader.ExtractToFile(member, temporary, reason);
        },
        error);
}

class Executor {
  public:
    Executor(Engine& engine, const RestorePlan& plan, const RestoreOptions& options,
             const platform::HostPath& root)
        : engine_(engine), plan_(plan), options_(options), folders_(root) {}

    void Apply(const RestoreItem& item) {
        if (WroteIntoMadeFolder(item)) return;
        const platform::HostFileLook target = platform::LookAtHostFile(item.target);
        if (target.kind == Kind::File && SameAsBackup(item, target)) {
            ++summary_.same;
            return;
        }
        if (target.kind == Kind::Folder || target.kind == Kind::Other ||
            target.kind == Kind::Unknown) {
            summary_.failed.append(platform::MessageText(item.target.text()) +
                                   QStringLiteral(": not a file"));
            return;
        }
        if (target.kind != Kind::Nothing && !MayReplace(item, target)) {
            summary_.kept.push_back(item.target);
            return;
        }
        if (options_.dryRun) {
            summary_.toWrite.push_back(item.target);
            ++summary_.written;
            return;
        }
        QString error;
        if (!folders_.Make(ParentOf(item.target), error) ||
            !WriteItem(engine_, plan_, item, error)) {
            summary_.failed.append(platform::MessageText(item.target.text()) +
                                   QStringLiteral(": ") + error);
            return;
        }
        ++summary_.written;
        engine_.CountFile();
    }

    RestoreSummary& Summary() { return summary_; }

  private:
    // A folder this restore made holds only the files it wrote: a folder
    // copy's file goes there without a look at its target first, written
    // only while that target is free. False when the item is still to be
    // applied the usual way (a file is there after all).
    bool WroteIntoMadeFolder(const RestoreItem& item) {
        if (options_.dryRun || plan_.kind != BackupKind::FolderCopy ||
            !folders_.Made(ParentOf(item.target))) {
            return false;
        }
        const platform::CopyOutcome outcome =
            CopyBackupFile(engine_, item, platform::ExistingTarget::Keep);
        if (!outcome.ok && outcome.errorNumber == EEXIST) return false;
        if (!outcome.ok) {
            summary_.failed.append(platform::MessageText(item.target.text()) +
                                   QStringLiteral(": ") + outcome.description);
            return true;
        }
        ++summary_.written;
        engine_.CountFile();
        return true;
    }

    bool MayReplace(const RestoreItem& item, const platform::HostFileLook& target) {
        switch (options_.differing) {
            case DifferingTarget::Replace:
                return true;
            case DifferingTarget::Keep:
                return false;
            case DifferingTarget::Ask:
                break;
        }
        if (allAnswer_) return *allAnswer_ == ReplaceAnswer::YesToAll;
        if (options_.questions == nullptr) return false;
        ReplaceQuestion question{item.target,       item.timeNs, item.size,
                                 target.modifiedNs, target.size, target.modifiedNs > item.timeNs};
        const ReplaceAnswer answer = options_.questions->AskReplace(question);
        if (answer == ReplaceAnswer::YesToAll || answer == ReplaceAnswer::NoToAll) {
            allAnswer_ = answer;
        }
        return answer == ReplaceAnswer::Yes || answer == ReplaceAnswer::YesToAll;
    }

    Engine& engine_;
    const RestorePlan& plan_;
    const RestoreOptions& options_;
    FolderMaker folders_;
    RestoreSummary summary_;
    std::optional<ReplaceAnswer> allAnswer_;
};

}  // namespace

RestoreSummary ApplyRestorePlan(Engine& engine, const RestorePlan& plan,
                                const RestoreOptions& options) {
    EngineUi& ui = engine.Ui();
    Executor executor(engine, plan, options, plan.targetRoot);
    executor.Summary().refused = plan.refused;
    ui.SetSourceText(plan.backup.text());
    ui.LetEventsRun();
    int done = 0;
    for (const RestoreItem& item : plan.items) {
        ui.SetDestinationText(item.target.text());
        executor.Apply(item);
        ui.SetCountText(QString::number(++done));
        ui.LetEventsRun();
        if (engine.AbortRequested()) {
            executor.Summary().aborted = true;
            break;
        }
    }
    return executor.Summary();
}

QStringList RestoreSummaryLines(const RestoreSummary& summary) {
    QStringList lines;
    lines.append(QStringLiteral("%1 files restored, %2 already the same, %3 kept, %4 failed%5")
                     .arg(summary.written)
                     .arg(summary.same)
                     .arg(summary.kept.size())
                     .arg(summary.failed.size() + summary.refused.size())
                     .arg(summary.aborted ? QStringLiteral(", stopped") : QString()));
    for (const platform::HostPath& target : summary.toWrite)
        lines.append(QStringLiteral("would write: ") + platform::MessageText(target.text()));
    for (const platform::HostPath& kept : summary.kept)
        lines.append(QStringLiteral("kept: ") + platform::MessageText(kept.text()));
    for (const QString& failed : summary.failed) lines.append(QStringLiteral("failed: ") + failed);
    for (const QString& refused : summary.refused) {
        lines.append(QStringLiteral("refused (leaves the target folder): ") + refused);
    }
    return lines;
}

}  // namespace engine
