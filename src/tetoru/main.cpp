#include "engine/console_ui.h"
#include "engine/engine.h"
#include "platform/clock.h"
#include "platform/drive_report.h"
#include "tetoru/command_line.h"
#include "tetoru/display.h"
#include "tetoru/restore_verify.h"
#include "tetoru/status_report.h"
#include "tetoru/tetoru_run.h"
#include "tetoru/window_program.h"
#include "util/message_sink.h"
#include "util/program_options.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

// Without a display: one line per entry on standard output. SIGTERM (a timer
// being stopped) and SIGINT act as 中止BTN: the run stops after the current
// file and what was finished is saved.
int RunOnConsole(char* program, const std::function<int(engine::Engine&)>& run) {
    int argc = 1;  // Qt reads none of the words: they are the definition file
    char* qtArguments[] = {program, nullptr};
    QCoreApplication app(argc, qtArguments);
    util::SetProgramTitle(QStringLiteral("TETORU"));
    engine::ConsoleUi ui;
    util::SetMessageSink(&ui);
    engine::Engine engine(ui);
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);
    ui.onEvents = [&engine] {
        if (stopRequested) engine.RequestAbort();
    };
    const int status = run(engine);
    util::SetMessageSink(nullptr);
    return status;
}

// Options that belong to another one are refused without it.
std::optional<int> RefuseMisplacedOptions(const util::CommandLine& line) {
    const char* problem = nullptr;
    if (line.Has("--verify") && line.Has("--restore")) {
        problem = "--verify and --restore cannot be given together";
    } else if (line.Has("--content") && !line.Has("--verify")) {
        problem = "--content needs --verify";
    } else if (!line.Has("--restore") && (line.Has("--to") || line.Has("--dry-run") ||
                                          line.Has("--overwrite") || line.Has("--at"))) {
        problem = "--to, --dry-run, --overwrite and --at need --restore";
    }
    if (!problem) return std::nullopt;
    std::fprintf(stderr, "tetoru: %s\nTry 'tetoru --help'.\n", problem);
    return util::kUsageError;
}

}  // namespace

int main(int argc, char* argv[]) {
    platform::NameTheTimeZoneOnce();
    const util::CommandLine line = tetoru::ReadCommandLine(argc, argv);
    if (const auto status = util::AnswerCommonOptions(line, tetoru::kProgram)) return *status;
    // Which letter is which disk, for the person about to register folders.
    if (line.Has("--drives")) return platform::PrintDriveReport();
    if (line.Has(tetoru::kMaxAgeOption.name) && !line.Has(tetoru::kStatusOption.name)) {
        return util::RefuseCommandLine(tetoru::kProgram,
                                       QStringLiteral("--max-age goes with --status"));
    }
    if (line.Has(tetoru::kStatusOption.name)) {
        std::optional<int> maxAge;
        if (line.Has(tetoru::kMaxAgeOption.name)) {
            bool ok = false;
            maxAge = line.Value(tetoru::kMaxAgeOption.name).toInt(&ok);
            if (!ok || *maxAge < 0) {
                return util::RefuseCommandLine(tetoru::kProgram,
                                               QStringLiteral("--max-age takes a number of days"));
            }
        }
        QCoreApplication app(argc, argv);
        return tetoru::PrintStatus(line.words, maxAge);
    }
    if (const auto status = RefuseMisplacedOptions(line)) return *status;
    // Verify and restore ask nothing, so they run on the console with or without a display.
    if (line.Has("--verify")) {
        return RunOnConsole(argv[0], [&line](engine::Engine& engine) {
            return tetoru::RunVerify(engine, line.words, line.Has("--content"));
        });
    }
    if (line.Has("--restore")) {
        tetoru::RestoreCommand command{line.Value("--restore"),
                                       line.Value("--to"),
                                       line.Has("--dry-run"),
                                       line.Has("--overwrite"),
                                       {}};
        if (line.Has("--at")) {
            command.at = tetoru::ParseRestoreTime(line.Value("--at"));
            if (!command.at) {
                return util::RefuseCommandLine(
                    tetoru::kProgram, QStringLiteral("--at takes a local time 'YYYY-MM-DD HH:MM'"));
            }
        }
        return RunOnConsole(argv[0], [&line, &command](engine::Engine& engine) {
            return tetoru::RunRestore(engine, line.words, command);
        });
    }
    // The progress window lives in a program of its own, so that a run without
    // a display loads no graphical library. Where it cannot be started, the
    // run goes on without it.
    if (tetoru::HasDisplay()) tetoru::StartWindowProgram(argv);
    return RunOnConsole(argv[0], [&line](engine::Engine& engine) {
        return tetoru::RunTetoru(engine, line.words, {});
    });
}
