#include "util/program_folder.h"

#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "platform/host_program_folder.h"

namespace util {

QString HostProgramFolder() { return platform::HostProgramFolder(); }

QString WindowsFormOfHostPath(const QString& hostPath, const QString& driveRoot) {
    auto windows = platform::ToWindowsPath(hostPath);
    if (!windows) {
        platform::DriveTable table = platform::CurrentDrives();
        for (char16_t letter = u'Z'; letter >= u'D'; --letter) {
            if (table.TypeOf(QChar(letter)) == platform::DriveType::NoRootDir) {
                table.Map(QChar(letter), platform::DriveType::Fixed, driveRoot,
                          QStringLiteral("KIBAKO"));
                break;
            }
        }
        platform::SetCurrentDrives(table);
        windows = platform::ToWindowsPath(hostPath);
    }
    return windows.value_or(QString());
}

QString ProgramFolder() {
    const QString host = platform::HostProgramFolder();
    QString folder = WindowsFormOfHostPath(host, host);
    if (folder.endsWith(u'\\')) folder.chop(1);  // "C:\" becomes "C:"
    return folder;
}

}  // namespace util
