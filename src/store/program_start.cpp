#include "store/program_start.h"

#include "platform/clock.h"
#include "platform/drive_table.h"
#include "platform/program_folder.h"
#include "util/environment.h"
#include "util/program_folder.h"

namespace store {

bool ClockIsWrong() { return platform::Now().date().year() < 2000; }

QString WrongDateText() {
    return QStringLiteral(
        "日付が正しくありません。 コントロール・パネルで正しい日付・時刻を設定して下さい");
}

ProgramStart StartProgram() {
    QString driveError;
    platform::SetCurrentDrives(platform::DriveTable::Load(
        platform::HostProgramFolder() + QStringLiteral("/Kibako.INI"), &driveError));
    const QString programFolder = util::ProgramFolder();
    ProgramStart start{programFolder, Settings(SettingsFileIn(programFolder)), driveError};
    util::CheckEnvironment(start.settings.FilePath());
    return start;
}

}  // namespace store
