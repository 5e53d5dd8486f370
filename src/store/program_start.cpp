#include "store/program_start.h"

#include "platform/clock.h"
#include "platform/drive_table.h"
#include "platform/host_program_folder.h"
#include "platform/regular_file.h"
#include "util/environment.h"
#include "util/program_folder.h"

namespace store {

bool ClockIsWrong() { return platform::Now().date().year() < 2000; }

QString WrongDateText() {
    return QStringLiteral(
        "日付が正しくありません。 コントロール・パネルで正しい日付・時刻を設定して下さい");
}

ProgramStart StartProgram() {
    const platform::HostPath hostSettings =
        platform::HostProgramFolder().Below(QStringLiteral("Kibako.INI"));
    QByteArray bytes;
    QString why;
    if (platform::ReadRegularFile(hostSettings, bytes, &why) == platform::ReadStatus::Refused) {
        return ProgramStart{platform::DrivePath(), Settings(QString()), QString(),
                            hostSettings.text() + QStringLiteral(": ") + why};
    }
    QString driveError;
    platform::SetCurrentDrives(platform::DriveTable::Load(hostSettings, &driveError));
    const platform::DrivePath programFolder = util::ProgramFolder();
    ProgramStart start{programFolder, Settings(SettingsFileIn(programFolder)), driveError,
                       QString()};
    util::CheckEnvironment(platform::DrivePath(start.settings.FilePath()));
    return start;
}

}  // namespace store
