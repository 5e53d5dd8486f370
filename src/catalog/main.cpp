#include <QApplication>

#include "catalog/automation.h"
#include "catalog/list_form.h"
#include "util/message_sink.h"

int main(int argc, char* argv[]) {
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
