#include "engine/console_ui.h"
#include "engine/engine.h"
#include "tetoru/display.h"
#include "tetoru/tetoru_run.h"
#include "util/message_sink.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>

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

// Without TZ, the C library looks at /etc/localtime again for every local
// time it converts: thousands of times in a run over many registrations. One
// run uses one zone, so it is named once for the whole run.
void NameTheTimeZoneOnce() {
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QStringLiteral("/etc/localtime")))
        return;
    qputenv("TZ", ":/etc/localtime");
}

}  // namespace

int main(int argc, char* argv[]) {
    NameTheTimeZoneOnce();
    return tetoru::HasDisplay() ? tetoru::RunWithWindows(argc, argv) : RunOnConsole(argc, argv);
}
