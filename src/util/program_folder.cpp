#include "util/program_folder.h"

#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "platform/host_program_folder.h"

namespace util {

platform::HostPath HostProgramFolder() { return platform::HostProgramFolder(); }

std::optional<platform::DrivePath> DrivePathOfHostPath(const platform::HostPath& hostPath,
                                                       const platform::HostPath& driveRoot) {
    auto drivePath = platform::ToDrivePath(hostPath);
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
        drivePath = platform::ToDrivePath(hostPath);
    }
    return drivePath;
}

platform::DrivePath ProgramFolder() {
    const platform::HostPath host = platform::HostProgramFolder();
    QString folder = DrivePathOfHostPath(host, host).value_or(platform::DrivePath()).text();
    if (folder.endsWith(u'\\')) folder.chop(1);  // "C:\" becomes "C:"
    return platform::DrivePath(folder);
}

}  // namespace util
