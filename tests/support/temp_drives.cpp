#include "support/temp_drives.h"

#include "platform/host_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace testing_support {

TempDrives::TempDrives() : previous_(platform::CurrentDrives()) {
    platform::SetCurrentDrives(platform::DriveTable());
    Map(u'C', platform::DriveType::Fixed, QStringLiteral("SYSTEM"));
    Map(u'E', platform::DriveType::Removable, QStringLiteral("USB"));
    Map(u'R', platform::DriveType::CdRom, QStringLiteral("DISC"));
}

TempDrives::~TempDrives() { platform::SetCurrentDrives(previous_); }

void TempDrives::Map(QChar letter, platform::DriveType type, const QString& label) const {
    const QString root = dir_.path() + u'/' + letter.toLower();
    QDir().mkpath(root);
    platform::DriveTable table = platform::CurrentDrives();
    table.Map(letter, type, platform::HostPath(root), label);
    platform::SetCurrentDrives(table);
}

QString TempDrives::Host(const QString& drivePath) const {
    const auto host = platform::ToHostPath(platform::DrivePath(drivePath));
    return host ? host->text() : QString();
}

void TempDrives::WriteFile(const QString& drivePath, const QByteArray& bytes, qint64 mtime) const {
    const QString host = Host(drivePath);
    ASSERT_FALSE(host.isEmpty()) << drivePath.toStdString();
    QDir().mkpath(QFileInfo(host).path());
    QFile file(host);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << host.toStdString();
    file.write(bytes);
    file.close();
    if (mtime >= 0) SetModifiedTime(host, mtime);
}

QByteArray TempDrives::ReadFile(const QString& drivePath) const {
    QFile file(Host(drivePath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempDrives::MakeFolder(const QString& drivePath) const { QDir().mkpath(Host(drivePath)); }

void SetModifiedTime(const QString& hostPath, qint64 seconds, long nanoseconds) {
    const struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    utimensat(AT_FDCWD, QFile::encodeName(hostPath).constData(), times, AT_SYMLINK_NOFOLLOW);
}

}  // namespace testing_support
