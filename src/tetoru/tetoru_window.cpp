#include "engine/console_ui.h"
#include "engine/engine.h"
#include "tetoru/display.h"
#include "tetoru/tetoru_run.h"
#include "util/message_sink.h"

#include <QApplication>

namespace tetoru {

int RunWithWindows(int argc, char* argv[]) {
    QApplication app(argc, argv);
    util::SetProgramTitle(QStringLiteral("TETORU"));
    engine::ConsoleUi ui;
    util::SetMessageSink(&ui);
    engine::Engine engine(ui);
    const int status = RunTetoru(engine, app.arguments().mid(1), {});
    util::SetMessageSink(nullptr);
    return status;
}

}  // namespace tetoru
