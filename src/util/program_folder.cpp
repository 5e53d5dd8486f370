#include "util/program_folder.h"

#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "platform/host_program_folder.h"

namespace util {

QString HostProgramFolder() { return platform::HostProgramFolder(); }

QString DrivePathOfHostPath(const QString& hostPath, const QString& driveRoot) {
    const platform::HostPath host(hostPath);
    auto drivePath = platform::ToDrivePath(host);
    if (!drivePath) {
        platform::DriveTable table = platform::CurrentDrives();
        for (char16_t letter = u'Z'; letter >= u'D'; --letter) {
            if (table.TypeOf(QChar(letter)) == platform::DriveType::NoRootDir) {
                table.Map(QChar(letter), platform::DriveType::Fixed, driveRoot,
                          QStringLiteral("KIBAKO"));
                break;
            }
        }
        platform::SetCurrentDrives(table);
        drivePath = platform::ToDrivePath(host);
    }
    return drivePath ? drivePath->text() : QString();
}

QString ProgramFolder() {
    const QString host = platform::HostProgramFolder();
    QString folder = DrivePathOfHostPath(host, host);
    if (folder.endsWith(u'\\')) folder.chop(1);  // "C:\" becomes "C:"
    return folder;
}

}  // namespace util
