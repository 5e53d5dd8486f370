#include "platform/drive_report.h"

#include "platform/host_program_folder.h"

#include <cstdio>

namespace platform {
namespace {

QString Origin(const DriveTable& table, const Drive& drive) {
    if (table.FromSettings()) return QStringLiteral("set in [Drives]");
    if (drive.letter == u'C') return QStringLiteral("system");
    if (drive.root.isEmpty()) {
        return QStringLiteral("remembered, not mounted (last at %1)").arg(drive.lastRoot);
    }
    return drive.remembered ? QStringLiteral("remembered, mounted")
                            : QStringLiteral("mounted, not remembered");
}

QString Cell(const QString& text, int width) {
    return (text.isEmpty() ? QStringLiteral("-") : text).leftJustified(width) + u' ';
}

}  // namespace

QString DriveReport(const DriveTable& table) {
    QString report = Cell(QStringLiteral("drive"), 5) + Cell(QStringLiteral("type"), 9) +
                     Cell(QStringLiteral("label"), 15) + Cell(QStringLiteral("host root"), 31) +
                     QStringLiteral("letter\n");
    for (const Drive& drive : table.MappedDrives()) {
        report += Cell(QString(drive.letter) + u':', 5) + Cell(DriveTypeWord(drive.type), 9) +
                  Cell(drive.label, 15) + Cell(drive.root.text(), 31) + Origin(table, drive) +
                  u'\n';
    }
    for (const QString& mountPoint : table.UnletteredMounts())
        report += QStringLiteral("no letter left for %1\n").arg(mountPoint);
    return report;
}

int PrintDriveReport() {
    QString error;
    const DriveTable table =
        DriveTable::Load(HostProgramFolder().Below(QStringLiteral("Kibako.INI")), &error);
    std::fputs(DriveReport(table).toUtf8().constData(), stdout);
    std::fflush(stdout);
    if (error.isEmpty()) return 0;
    std::fprintf(stderr, "new drive letters were not remembered: %s\n", qUtf8Printable(error));
    return 1;
}

}  // namespace platform
