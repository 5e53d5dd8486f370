#include "platform/mount_table.h"

#include <QFile>

namespace platform {
namespace {

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
QString Unescape(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

bool IsPseudoFileSystem(const QString& type) {
    static const QSet<QString> kPseudo = {
        "proc",    "sysfs",   "devtmpfs",    "devpts",   "cgroup",     "cgroup2",   "securityfs",
        "debugfs", "tracefs", "pstore",      "bpf",      "mqueue",     "hugetlbfs", "configfs",
        "fusectl", "autofs",  "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs",      "selinuxfs"};
    return kPseudo.contains(type);
}

}  // namespace

QList<MountEntry> ReadMountTable(const HostPath& mountInfoPath) {
    QFile file(mountInfoPath.isEmpty() ? QStringLiteral("/proc/self/mountinfo")
                                       : mountInfoPath.text());
    QList<MountEntry> mounts;
    if (!file.open(QIODevice::ReadOnly)) return mounts;
    for (const QByteArray& line : file.readAll().split('\n')) {
        // id parent major:minor root mountpoint options [optional...] - fstype source superopts
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 2 >= fields.size()) continue;
        mounts.append({Unescape(fields[4]), QString::fromUtf8(fields[dash + 1]),
                       Unescape(fields[dash + 2]), Unescape(fields[3])});
    }
    return mounts;
}

const QSet<QString>& PseudoMountPoints() {
    static const QSet<QString> points = [] {
        QSet<QString> set = {"/proc", "/sys", "/dev", "/run"};
        for (const MountEntry& mount : ReadMountTable()) {
            if (IsPseudoFileSystem(mount.fileSystemType)) set.insert(mount.mountPoint);
        }
        return set;
    }();
    return points;
}

bool HoldsPseudoMountPoints(const HostPath& folder) {
    static const QSet<QString> parents = [] {
        QSet<QString> set;
        for (const QString& point : PseudoMountPoints()) {
            const qsizetype slash = point.lastIndexOf(u'/');
            set.insert(slash <= 0 ? QStringLiteral("/") : point.left(slash));
        }
        return set;
    }();
    return parents.contains(folder.text());
}

}  // namespace platform
