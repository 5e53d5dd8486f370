#include "platform/drive_table.h"

#include "platform/mount_table.h"
#include "platform/profile_file.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace platform {
namespace {

std::optional<int> SlotOf(QChar letter) {
    const char16_t upper = letter.toUpper().unicode();
    if (upper < u'A' || upper > u'Z') return std::nullopt;
    return upper - u'A';
}

DriveType ParseType(const QString& word) {
    const QString lower = word.trimmed().toLower();
    if (lower == QLatin1String("removable")) return DriveType::Removable;
    if (lower == QLatin1String("fixed")) return DriveType::Fixed;
    if (lower == QLatin1String("cdrom")) return DriveType::CdRom;
    return DriveType::Other;
}

QString CleanRoot(const QString& root) {
    const QString clean = QDir::cleanPath(root);
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

bool IsUnder(const QString& path, const QString& root) {
    if (root == QLatin1String("/")) return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

DriveType DetectedType(const MountEntry& mount) {
    const QString deviceName = mount.device.section(u'/', -1);
    if (mount.fileSystemType == QLatin1String("iso9660") ||
        mount.fileSystemType == QLatin1String("udf") ||
        deviceName.startsWith(QLatin1String("sr"))) {
        return DriveType::CdRom;
    }
    // Desktop automounts are hot-plugged media; the kernel's removable flag is
    // not reliable (many USB sticks report 0).
    if (IsUnder(mount.mountPoint, QStringLiteral("/media")) ||
        IsUnder(mount.mountPoint, QStringLiteral("/run/media"))) {
        return DriveType::Removable;
    }
    return DriveType::Fixed;
}

}  // namespace

DriveTable DriveTable::Load(const QString& hostSettingsPath) {
    const auto section = ReadProfileSection(hostSettingsPath, QStringLiteral("Drives"));
    if (section.isEmpty()) return Detect();
    DriveTable table;
    for (const auto& [key, value] : section) {
        if (key.size() != 1) continue;
        const QStringList parts = value.split(u'|');
        if (parts.size() < 2 || parts[1].trimmed().isEmpty()) continue;
        table.Map(key[0], ParseType(parts[0]), parts[1].trimmed(),
                  parts.size() > 2 ? parts.mid(2).join(u'|').trimmed() : QString());
    }
    return table;
}

DriveTable DriveTable::Detect() {
    DriveTable table;
    table.Map(u'C', DriveType::Fixed, QStringLiteral("/"), QStorageInfo::root().name());
    table.drives_[u'C' - u'A']->detected = true;
    QList<MountEntry> mounts;
    for (const MountEntry& mount : ReadMountTable()) {
        if (IsUnder(mount.mountPoint, QStringLiteral("/media")) ||
            IsUnder(mount.mountPoint, QStringLiteral("/run/media")) ||
            IsUnder(mount.mountPoint, QStringLiteral("/mnt"))) {
            mounts.append(mount);
        }
    }
    std::sort(mounts.begin(), mounts.end(),
              [](const MountEntry& a, const MountEntry& b) { return a.mountPoint < b.mountPoint; });
    char16_t next = u'D';
    for (const MountEntry& mount : mounts) {
        if (next > u'Z') break;
        const QList<Drive> mapped = table.MappedDrives();
        const bool listedTwice = std::any_of(mapped.begin(), mapped.end(), [&](const Drive& d) {
            return d.root == mount.mountPoint;
        });
        if (listedTwice) continue;
        table.Map(QChar(next++), DetectedType(mount), mount.mountPoint,
                  QStorageInfo(mount.mountPoint).name());
        table.drives_[next - 1 - u'A']->detected = true;
    }
    return table;
}

void DriveTable::Map(QChar letter, DriveType type, const QString& root, const QString& label) {
    if (const auto slot = SlotOf(letter)) {
        drives_[*slot] = Drive{QChar(u'A' + *slot), type, CleanRoot(root), label};
    }
}

void DriveTable::Unmap(QChar letter) {
    if (const auto slot = SlotOf(letter)) drives_[*slot].reset();
}

std::optional<Drive> DriveTable::Find(QChar letter) const {
    const auto slot = SlotOf(letter);
    return slot ? drives_[*slot] : std::nullopt;
}

DriveType DriveTable::TypeOf(QChar letter) const {
    if (!SlotOf(letter)) return DriveType::Unknown;
    const auto drive = Find(letter);
    return drive ? drive->type : DriveType::NoRootDir;
}

QList<Drive> DriveTable::MappedDrives() const {
    QList<Drive> list;
    for (const auto& drive : drives_) {
        if (drive) list.append(*drive);
    }
    return list;
}

std::optional<QChar> DriveTable::LetterHolding(const QString& hostPath) const {
    const QString clean = QDir::cleanPath(hostPath);
    std::optional<QChar> best;
    qsizetype bestLength = -1;
    for (const auto& drive : drives_) {
        if (drive && IsUnder(clean, drive->root) && drive->root.size() > bestLength) {
            best = drive->letter;
            bestLength = drive->root.size();
        }
    }
    return best;
}

namespace {
DriveTable& Current() {
    static DriveTable table = DriveTable::Detect();
    return table;
}
}  // namespace

const DriveTable& CurrentDrives() { return Current(); }
void SetCurrentDrives(const DriveTable& table) { Current() = table; }

void RefreshDetectedDrives() {
    const auto system = Current().Find(u'C');
    if (system && system->detected) Current() = DriveTable::Detect();
}

}  // namespace platform
