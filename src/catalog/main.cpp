#include <QApplication>

#include "catalog/window/automation.h"
#include "catalog/window/list_form.h"
#include "platform/clock.h"
#include "platform/drive_report.h"
#include "util/message_sink.h"
#include "util/program_options.h"
#include "widgets/qt_translation.h"

namespace {

const util::OptionSpec kOptions[] = {util::kHelpOption, util::kVersionOption, util::kDrivesOption};

const util::ProgramSpec kProgram{
    "kibako", "[DEFINITION-FILE]",
    "Kibako (キバコ) shows your drives, the folders you registered for backup and\n"
    "their files; from its window you register folders, run backups and set the\n"
    "options of Tetoru, the unattended backup.\n"
    "\n"
    "DEFINITION-FILE is the registrations to show, in drive form (C:\\...) or as\n"
    "an absolute path (/home/...); the words after the options make one name.\n"
    "Without it: the file of the setting CatalogName when it exists, else\n"
    "Kibako.Def in the program folder. The registrations are saved there when\n"
    "the window closes.\n",
    "  0   the window was closed\n"
    "  64  the command line cannot be read\n",
    kOptions};

}  // namespace

int main(int argc, char* argv[]) {
    platform::NameTheTimeZoneOnce();
    // Read before Qt starts, so that --help works without a display.
    const util::CommandLine line = util::ParseCommandLine(util::ArgumentsOf(argc, argv), kOptions);
    if (const auto status = util::AnswerCommonOptions(line, kProgram)) return *status;
    // Which letter is which disk, for the person about to register folders.
    if (line.Has("--drives")) return platform::PrintDriveReport();
    int qtArgc = 1;  // Qt reads none of the words: they are the definition file
    char* qtArguments[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArguments);
    widgets::LoadQtTranslation(app);
    util::SetProgramTitle(QStringLiteral("キバコ"));
    catalog::ListForm form;
    if (!form.Load(line.words)) return 1;
    const QString script = qEnvironmentVariable("KIBAKO_AUTOMATION");
    if (!script.isEmpty()) catalog::StartAutomation(form, script);
    return app.exec();
}
