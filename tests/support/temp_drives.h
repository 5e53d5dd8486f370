#pragma once

#include "platform/drive_table.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// A drive table over a fresh temporary folder: C: fixed, E: removable and
// R: CD-ROM, each a folder of its own. The previous table comes back when this
// goes away.
class TempDrives {
  public:
    TempDrives();
    ~TempDrives();
    TempDrives(const TempDrives&) = delete;
    TempDrives& operator=(const TempDrives&) = delete;

    QString Root() const { return dir_.path(); }
    // The host path of a Windows-style path on one of the drives.
    QString Host(const QString& drivePath) const;
    // Writes a file (creating folders) and sets its modification time
    // (seconds since the epoch) when given.
    void WriteFile(const QString& drivePath, const QByteArray& bytes, qint64 mtime = -1) const;
    QByteArray ReadFile(const QString& drivePath) const;
    void MakeFolder(const QString& drivePath) const;
    void Map(QChar letter, platform::DriveType type, const QString& label = {}) const;

  private:
    QTemporaryDir dir_;
    platform::DriveTable previous_;
};

void SetModifiedTime(const QString& hostPath, qint64 seconds, long nanoseconds = 0);

}  // namespace testing_support
