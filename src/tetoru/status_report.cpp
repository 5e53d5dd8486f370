#include "tetoru/status_report.h"

#include "engine/run_log.h"
#include "engine/run_status.h"
#include "platform/clock.h"
#include "store/definition_file.h"
#include "store/definition_list.h"
#include "store/program_start.h"
#include "tetoru/tetoru_run.h"
#include "util/file_ops.h"

#include <cstdio>

namespace tetoru {
namespace {

const QString kShownTime = QStringLiteral("yyyy/MM/dd HH:mm");

void Print(const QString& text) { std::fputs(text.toUtf8().constData(), stdout); }

QString LastRunText(const engine::RegistrationStatus& status) {
    if (!status.lastRun) return QStringLiteral("never run").leftJustified(29);
    return (engine::OutcomeWord(status.lastRun->outcome).leftJustified(11) +
            status.lastRun->time.toString(kShownTime))
        .leftJustified(29);
}

QString LastGoodText(const engine::RegistrationStatus& status) {
    return QStringLiteral("last good %1")
        .arg(status.lastGood.isValid() ? status.lastGood.toString(kShownTime)
                                       : QStringLiteral("never"))
        .leftJustified(29);
}

void PrintOne(const engine::RegistrationStatus& status, bool stale) {
    Print(LastRunText(status) + LastGoodText(status) + status.entry.sourceFolder +
          QStringLiteral(" -> ") + status.entry.destination +
          (stale ? QStringLiteral("  (too old)") : QString()) + u'\n');
    const bool passedOver = status.lastRun &&
                            status.lastRun->outcome != engine::EntryOutcome::BackedUp &&
                            status.lastRun->outcome != engine::EntryOutcome::Unchanged;
    if (passedOver && !status.lastRun->reason.isEmpty()) {
        for (const QString& line : status.lastRun->reason.split(u'\n')) {
            Print(QString(11, u' ') + line + u'\n');
        }
    }
}

}  // namespace

int PrintStatus(const QStringList& arguments, std::optional<int> maxAgeDays) {
    const store::ProgramStart start = store::StartProgram();
    if (!start.settingsRefused.isEmpty()) {
        std::fprintf(stderr, "TETORU: the settings file cannot be read: %s\n",
                     qUtf8Printable(start.settingsRefused));
        return kEntryFailed;
    }
    const QString definitionFile =
        store::ChooseDefinitionFile(arguments, start.settings, start.programFolder);
    if (!arguments.join(u' ').isEmpty() && !util::FileExists(platform::DrivePath(definitionFile))) {
        std::fprintf(stderr, "TETORU: the definition file %s does not exist\n",
                     qUtf8Printable(arguments.join(u' ')));
        return kNoDefinitionFile;
    }
    const store::LoadResult loaded = store::LoadDefinitions(definitionFile);
    if (loaded.refused) {
        std::fprintf(stderr, "TETORU: %s\n",
                     qUtf8Printable(QString(loaded.warning).replace(u'\n', u' ')));
        return kEntryFailed;
    }
    const auto log = engine::RunLogHostPath(start.programFolder);
    const std::vector<engine::RegistrationStatus> statuses =
        engine::StatusOf(store::DefinitionList(loaded.body).Entries(),
                         log ? engine::ReadRunLogs(*log) : std::vector<engine::RunLogRecord>());
    const QDateTime now = platform::Now();
    int failed = 0, stale = 0;
    for (const engine::RegistrationStatus& status : statuses) {
        const bool tooOld = maxAgeDays && status.OlderThan(*maxAgeDays, now);
        if (status.LastRunFailed()) ++failed;
        if (tooOld) ++stale;
        PrintOne(status, tooOld);
    }
    QString summary = QStringLiteral("TETORU: %1 registrations, %2 failed at their last run")
                          .arg(statuses.size())
                          .arg(failed);
    if (maxAgeDays) {
        summary +=
            QStringLiteral(", %1 not backed up for more than %2 days").arg(stale).arg(*maxAgeDays);
    }
    Print(summary + u'\n');
    std::fflush(stdout);
    return failed > 0 || stale > 0 ? kEntryFailed : kAllBackedUp;
}

}  // namespace tetoru
