#include "support/fake_system.h"

#include <QDir>
#include <QFile>

namespace testing_support {
namespace {

QByteArray Escaped(const QString& path) {
    QByteArray out;
    for (const char c : path.toUtf8()) {
        if (c == ' ' || c == '\t' || c == '\\' || c == '\n') {
            out +=
                '\\' + QByteArray::number(static_cast<unsigned char>(c), 8).rightJustified(3, '0');
        } else {
            out += c;
        }
    }
    return out;
}

QString UdevName(const QString& label) {
    QString out;
    for (const QChar c : label) out += c == u' ' ? QStringLiteral("\\x20") : QString(c);
    return out;
}

}  // namespace

FakeSystem::FakeSystem() {
    for (const char* folder : {"proc/self", "dev/disk/by-uuid", "dev/disk/by-label"})
        QDir(Root()).mkpath(QString::fromLatin1(folder));
    WriteMountTable();
}

void FakeSystem::AddDisk(const QString& device, const QString& uuid, const QString& label) {
    QFile node(Root() + QStringLiteral("/dev/") + device);
    node.open(QIODevice::WriteOnly);
    const QString target = QStringLiteral("../../") + device;
    if (!uuid.isEmpty()) QFile::link(target, Root() + QStringLiteral("/dev/disk/by-uuid/") + uuid);
    if (!label.isEmpty())
        QFile::link(target, Root() + QStringLiteral("/dev/disk/by-label/") + UdevName(label));
}

void FakeSystem::Mount(const QString& device, const QString& mountPoint, const QString& type,
                       const QString& fsRoot) {
    QDir().mkpath(HostOf(mountPoint));
    mounts_.append({device, mountPoint, type, fsRoot});
    WriteMountTable();
}

void FakeSystem::Unmount(const QString& mountPoint) {
    mounts_.removeIf([&](const Mounted& mount) { return mount.mountPoint == mountPoint; });
    WriteMountTable();
}

void FakeSystem::UnmountAll() {
    mounts_.clear();
    WriteMountTable();
}

void FakeSystem::WriteMountTable() const {
    QByteArray text =
        "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "22 21 0:5 / /proc rw shared:2 - proc proc rw\n";
    int id = 30;
    for (const Mounted& mount : mounts_) {
        text += QByteArray::number(id++) + " 21 8:17 " + Escaped(mount.fsRoot) + ' ' +
                Escaped(mount.mountPoint) + " rw,relatime shared:9 - " + mount.type.toUtf8() +
                " /dev/" + mount.device.toUtf8() + " rw\n";
    }
    QFile file(Root() + QStringLiteral("/proc/self/mountinfo"));
    file.open(QIODevice::WriteOnly);
    file.write(text);
}

}  // namespace testing_support
