#include "tetoru/restore_verify.h"

#include "engine/backup_verify.h"
#include "engine/resolve_destination.h"
#include "engine/restore_history.h"
#include "engine/restore_run.h"
#include "platform/host_path.h"
#include "store/definition_file.h"
#include "store/definition_list.h"
#include "store/program_start.h"
#include "tetoru/tetoru_run.h"
#include "util/file_ops.h"

#include <QDir>

#include <cstdio>
#include <optional>

namespace tetoru {
namespace {

void Say(std::FILE* stream, const QString& line) {
    std::fprintf(stream, "%s\n", qUtf8Printable(line));
}

// The registrations, read and never saved; the exit status when they cannot be.
struct Registrations {
    std::vector<store::BackupEntry> entries;
    std::optional<int> failure;
};

Registrations ReadRegistrations(engine::Engine& engine, const QStringList& words) {
    Registrations result;
    if (store::ClockIsWrong()) {
        Say(stderr, QStringLiteral("TETORU: ") + store::WrongDateText());
        result.failure = kWrongDate;
        return result;
    }
    const store::ProgramStart start = store::StartProgram();
    if (!start.settingsRefused.isEmpty()) {
        Say(stderr,
            QStringLiteral("TETORU: the settings file cannot be read: ") + start.settingsRefused);
        result.failure = kEntryFailed;
        return result;
    }
    engine.SetUnattended(true);
    const QString file = store::ChooseDefinitionFile(words, start.settings, start.programFolder);
    if (!words.join(u' ').isEmpty() && !util::FileExists(platform::DrivePath(file))) {
        Say(stderr,
            QStringLiteral("TETORU: the definition file %1 does not exist").arg(words.join(u' ')));
        result.failure = kNoDefinitionFile;
        return result;
    }
    const store::LoadResult loaded = store::LoadDefinitions(file);
    if (!loaded.warning.isEmpty()) {
        Say(stderr, QStringLiteral("TETORU: ") + QString(loaded.warning).replace(u'\n', u' '));
    }
    if (loaded.refused) {
        result.failure = kEntryFailed;
        return result;
    }
    result.entries = store::DefinitionList(loaded.body).Entries();
    return result;
}

// A folder of the command line in drive form, without a trailing "\".
std::optional<platform::DrivePath> DriveFormOf(const QString& folder) {
    QString drive = folder;
    if (folder.startsWith(u'/')) {
        const std::optional<platform::DrivePath> converted =
            platform::ToDrivePath(platform::HostPath(QDir::cleanPath(folder)));
        if (!converted) return std::nullopt;
        drive = converted->text();
    }
    while (drive.size() > 3 && drive.endsWith(u'\\')) drive.chop(1);
    return platform::DrivePath(drive);
}

// A folder of the command line as a host path: one starting with "/" is one
// already, any other is read as a drive path.
std::optional<platform::HostPath> HostFormOf(const QString& folder) {
    if (folder.startsWith(u'/')) return platform::HostPath(QDir::cleanPath(folder));
    return platform::ToHostPath(platform::DrivePath(folder));
}

}  // namespace

std::optional<QDateTime> ParseRestoreTime(const QString& text) {
    for (const QString& format :
         {QStringLiteral("yyyy-MM-dd HH:mm"), QStringLiteral("yyyy-MM-dd HH:mm:ss")}) {
        const QDateTime time = QDateTime::fromString(text.trimmed(), format);
        if (time.isValid()) return time;
    }
    return std::nullopt;
}

int RunVerify(engine::Engine& engine, const QStringList& definitionWords, bool content) {
    const Registrations registrations = ReadRegistrations(engine, definitionWords);
    if (registrations.failure) return *registrations.failure;
    int differing = 0;
    for (const store::BackupEntry& entry : registrations.entries) {
        const engine::VerifyResult result = engine::VerifyRegistration(engine, entry, {content});
        const QString head =
            QStringLiteral("VERIFY: %1 -> %2: ")
                .arg(entry.sourceFolder,
                     result.target.isEmpty() ? entry.destination : result.target.text());
        if (result.Matches()) {
            Say(stdout, head + QStringLiteral("%1 files match").arg(result.matching));
            continue;
        }
        ++differing;
        Say(stdout, head + QStringLiteral("%1 differences, %2 files match")
                               .arg(result.differences.size())
                               .arg(result.matching));
        for (const engine::Difference& difference : result.differences) {
            Say(stdout, QStringLiteral("  ") + engine::DifferenceText(difference));
        }
    }
    Say(stdout, QStringLiteral("TETORU: %1 registrations checked, %2 differ")
                    .arg(registrations.entries.size())
                    .arg(differing));
    std::fflush(stdout);
    return differing > 0 ? kEntryFailed : kAllBackedUp;
}

int RunRestore(engine::Engine& engine, const QStringList& definitionWords,
               const RestoreCommand& command) {
    const Registrations registrations = ReadRegistrations(engine, definitionWords);
    if (registrations.failure) return *registrations.failure;
    const std::optional<platform::DrivePath> folder = DriveFormOf(command.source);
    QString below;
    const store::BackupEntry* entry =
        folder ? engine::HoldingRegistration(registrations.entries, *folder, below) : nullptr;
    if (!entry) {
        Say(stderr, QStringLiteral("TETORU: no registration holds %1").arg(command.source));
        return kEntryFailed;
    }
    const std::optional<platform::HostPath> targetRoot =
        command.to.isEmpty() ? platform::ToHostPath(*folder) : HostFormOf(command.to);
    if (!targetRoot) {
        Say(stderr, QStringLiteral("TETORU: %1 is on no drive")
                        .arg(command.to.isEmpty() ? folder->text() : command.to));
        return kEntryFailed;
    }
    const platform::DrivePath backup = engine::ResolveDestination(
        engine, engine::Owner::Caller, entry->destination, engine::MediumQuestion::DoNotAsk);
    if (backup.isEmpty()) {
        Say(stderr,
            QStringLiteral("TETORU: the backup %1 cannot be found").arg(entry->destination));
        return kEntryFailed;
    }
    const engine::RestorePlan plan =
        engine::PlanRestoreAsOf({*entry, backup, *targetRoot, below, {}}, command.at);
    if (!plan.readable) {
        Say(stderr, QStringLiteral("TETORU: ") + plan.error);
        return kEntryFailed;
    }
    Say(stdout,
        QStringLiteral("RESTORE: %1 -> %2%3%4")
            .arg(backup.text() + (below.isEmpty() ? QString() : u'\\' + below), targetRoot->text(),
                 command.at ? QStringLiteral(" as of ") +
                                  command.at->toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                            : QString(),
                 command.dryRun ? QStringLiteral(" (dry run)") : QString()));
    for (const QString& unread : plan.unread) Say(stdout, QStringLiteral("unreadable: ") + unread);
    engine::RestoreOptions options;
    options.differing =
        command.overwrite ? engine::DifferingTarget::Replace : engine::DifferingTarget::Keep;
    options.dryRun = command.dryRun;
    const engine::RestoreSummary summary = engine::ApplyRestorePlan(engine, plan, options);
    for (const QString& line : engine::RestoreSummaryLines(summary)) Say(stdout, line);
    std::fflush(stdout);
    if (summary.aborted) return kAborted;
    return summary.Clean() && plan.unread.isEmpty() ? kAllBackedUp : kEntryFailed;
}

}  // namespace tetoru
