#include "engine/console_ui.h"
#include "engine/engine.h"
#include "platform/drive_report.h"
#include "tetoru/display.h"
#include "tetoru/tetoru_run.h"
#include "util/message_sink.h"

#include <QCoreApplication>

#include <csignal>
#include <string_view>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

// Without a display: one line per entry on standard output. SIGTERM (a timer
// being stopped) and SIGINT act as 中止BTN: the run stops after the current
// file and what was finished is saved.
int RunOnConsole(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    util::SetProgramTitle(QStringLiteral("TETORU"));
    engine::ConsoleUi ui;
    util::SetMessageSink(&ui);
    engine::Engine engine(ui);
    std::signal(SIGTERM, RequestStop);
    std::signal(SIGINT, RequestStop);
    ui.onEvents = [&engine] {
        if (stopRequested) engine.RequestAbort();
    };
    const int status = tetoru::RunTetoru(engine, app.arguments().mid(1), {});
    util::SetMessageSink(nullptr);
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Which letter is which disk, for the person about to register folders.
    if (argc == 2 && std::string_view(argv[1]) == "--drives") return platform::PrintDriveReport();
    return tetoru::HasDisplay() ? tetoru::RunWithWindows(argc, argv) : RunOnConsole(argc, argv);
}
