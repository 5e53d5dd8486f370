// Usage: folder_changed_bench HOST_FOLDER "YYYY/MM/DD hh:mm" REPEATS
// Maps the folder as drive C:, runs the change test over it REPEATS times and
// prints the best time in seconds and the answer.
#include "engine/folder_changed.h"
#include "platform/drive_table.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s HOST_FOLDER LAST_BACKUP REPEATS\n", argv[0]);
        return 2;
    }
    platform::DriveTable table;
    table.Map(u'C', platform::DriveType::Fixed,
              platform::HostPath(QString::fromLocal8Bit(argv[1])));
    platform::SetCurrentDrives(table);
    const store::BackupTime last = store::BackupTime::FromText(QString::fromLocal8Bit(argv[2]));
    double best = 1e9;
    bool changed = false;
    for (int i = 0; i < std::max(1, atoi(argv[3])); ++i) {
        QElapsedTimer timer;
        timer.start();
        changed = engine::FolderChangedSince(platform::DrivePath(QStringLiteral("C:")), last, true);
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    std::printf("%.3f %s\n", best, changed ? "changed" : "unchanged");
    return 0;
}
