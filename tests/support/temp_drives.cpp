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
    table.Map(letter, type, root, label);
    platform::SetCurrentDrives(table);
}

QString TempDrives::Host(const QString& windowsPath) const {
    return platform::ToHostPath(windowsPath).value_or(QString());
}

void TempDrives::WriteFile(const QString& windowsPath, const QByteArray& bytes,
                           qint64 mtime) const {
    const QString host = Host(windowsPath);
    ASSERT_FALSE(host.isEmpty()) << windowsPath.toStdString();
    QDir().mkpath(QFileInfo(host).path());
    QFile file(host);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << host.toStdString();
    file.write(bytes);
    file.close();
    if (mtime >= 0) SetModifiedTime(host, mtime);
}

QByteArray TempDrives::ReadFile(const QString& windowsPath) const {
    QFile file(Host(windowsPath));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempDrives::MakeFolder(const QString& windowsPath) const { QDir().mkpath(Host(windowsPath)); }

void SetModifiedTime(const QString& hostPath, qint64 seconds, long nanoseconds) {
    const struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    utimensat(AT_FDCWD, QFile::encodeName(hostPath).constData(), times, AT_SYMLINK_NOFOLLOW);
}

}  // namespace testing_support
