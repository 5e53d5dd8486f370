#include <QApplication>

#include "catalog/automation.h"
#include "catalog/list_form.h"
#include "platform/drive_report.h"
#include "util/message_sink.h"

#include <string_view>

int main(int argc, char* argv[]) {
    // Which letter is which disk, for the person about to register folders.
    if (argc == 2 && std::string_view(argv[1]) == "--drives") return platform::PrintDriveReport();
    QApplication app(argc, argv);
    util::SetProgramTitle(QStringLiteral("キバコ"));
    kibako::catalog::ListForm form;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!form.Load(arguments)) return 0;
    const QString script = qEnvironmentVariable("KIBAKO_AUTOMATION");
    if (!script.isEmpty()) kibako::catalog::StartAutomation(form, script);
    return app.exec();
}
