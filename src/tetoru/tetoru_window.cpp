#include "tetoru/tetoru_window.h"

#include "engine/engine.h"
#include "engine/windows/back_form.h"
#include "engine/windows/qt_engine_ui.h"
#include "platform/process.h"
#include "tetoru/tetoru_run.h"
#include "util/message_sink.h"
#include "widgets/qt_translation.h"

#include <QApplication>

namespace tetoru {

int RunWithProgressWindow(char* program, const QStringList& arguments) {
    int argc = 1;  // Qt reads none of the words: they are the definition file
    char* qtArguments[] = {program, nullptr};
    QApplication app(argc, qtArguments);
    widgets::LoadQtTranslation(app);
    util::SetProgramTitle(QStringLiteral("TETORU"));
    engine::windows::QtEngineUi ui(engine::windows::BackForm::Variant::Tetoru);
    engine::Engine engine(ui);
    ui.AttachEngine(&engine);
    // Tests of the unattended run need not wait the minute a person is given.
    if (const int ms = qEnvironmentVariableIntValue("TETORU_TEST_MESSAGE_TIMEOUT_MS"); ms > 0) {
        ui.SetMessageTimeout(std::chrono::milliseconds(ms));
    }
    ui.SetOwnerWindow(engine::Owner::Caller, &ui.Progress());
    util::SetMessageSink(&ui);
    // Closing the progress window ends Tetoru at once, wherever the run is:
    // nothing is saved.
    QObject::connect(&ui.Progress(), &engine::windows::BackForm::closeRequested,
                     [] { platform::EndProcessNow(kWindowClosed); });
    TetoruHooks hooks;
    hooks.placeProgressWindow = [&ui](const store::Settings& settings) {
        ui.Progress().PlaceFromSettings(settings);
    };
    const int status = RunTetoru(engine, arguments, hooks);
    util::SetMessageSink(nullptr);
    ui.AttachEngine(nullptr);
    return status;
}

}  // namespace tetoru
