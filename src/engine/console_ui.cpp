#include "engine/console_ui.h"

#include "util/error_wording.h"
#include "util/line_breaks.h"
#include "util/message_sink.h"

namespace engine {
namespace {

void WriteLine(std::FILE* stream, const QString& line) {
    std::fprintf(stream, "%s\n", qUtf8Printable(line));
    std::fflush(stream);
}

}  // namespace

QString EntryReportLine(const EntryReport& report) {
    // Files copied anew or over their backup; for an archive, the members it
    // added or replaced (its update counts once in `filesCopied`).
    const int backedUp = report.counts.copied + report.counts.replaced;
    const QString route = report.source + QStringLiteral(" -> ") +
                          (report.target.isEmpty() ? report.destination : report.target);
    switch (report.outcome) {
        case EntryOutcome::BackedUp:
            return route + QStringLiteral(": %1 files backed up").arg(backedUp);
        case EntryOutcome::Unchanged:
            return route + QStringLiteral(": unchanged, passed over");
        case EntryOutcome::MediumSkipped:
            return route + QStringLiteral(": medium given up earlier in this run, passed over");
        case EntryOutcome::NoDestination:
            return route + QStringLiteral(": medium not found, passed over");
        case EntryOutcome::Failed:
            return route + QStringLiteral(": FAILED (%1 files backed up)").arg(backedUp);
    }
    return route;
}

util::Answer ConsoleUi::StandardMessage(const QString& text, util::Buttons buttons, util::Answer) {
    QString lines = util::InJapaneseWording(util::WithLineBreaks(text));
    WriteLine(err_, util::ProgramTitle() + QStringLiteral(": ") +
                        lines.replace(u'\n', QLatin1String("\n  ")));
    return util::AnswerChangingNothing(buttons);
}

util::Answer ConsoleUi::AskOlderFile(const OlderFile& file) {
    WriteLine(err_, QStringLiteral("older than its backup, left alone: ") + file.sourceFolder +
                        u'\\' + file.fileName);
    return util::Answer::No;
}

DriveChoice ConsoleUi::AskDrive(Owner, const QString& title, const QString& kindText,
                                const QString&, bool unattended) {
    WriteLine(err_, QStringLiteral("medium not inserted: ") + kindText + QStringLiteral(" 「") +
                        title + QStringLiteral("」"));
    // Nobody can insert a medium: the question ends as if it had timed out.
    return DriveChoice{QString(), unattended};
}

void ConsoleUi::EntryFinished(const EntryReport& report) {
    WriteLine(out_, EntryReportLine(report));
    for (const QString& line : report.historyRemoved) WriteLine(out_, QStringLiteral("  ") + line);
}

}  // namespace engine
