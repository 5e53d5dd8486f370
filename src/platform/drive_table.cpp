#include "platform/drive_table.h"

#include "platform/disk_names.h"
#include "platform/drive_letters.h"
#include "platform/mount_table.h"
#include "platform/profile_file.h"

#include <QDir>
#include <QMap>
#include <QStorageInfo>

namespace platform {
namespace {

std::optional<int> SlotOf(QChar letter) {
    const char16_t upper = letter.toUpper().unicode();
    if (upper < u'A' || upper > u'Z') return std::nullopt;
    return upper - u'A';
}

QString CleanRoot(const QString& root) {
    const QString clean = QDir::cleanPath(root);
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

bool IsUnder(const QString& path, const QString& root) {
    if (root == QLatin1String("/")) return path.startsWith(u'/');
    return path == root || path.startsWith(root + u'/');
}

DriveType DetectedType(const MountEntry& mount, const QString& device) {
    const QString deviceName = device.section(u'/', -1);
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

bool IsUserMount(const QString& mountPoint) {
    return IsUnder(mountPoint, QStringLiteral("/media")) ||
           IsUnder(mountPoint, QStringLiteral("/run/media")) ||
           IsUnder(mountPoint, QStringLiteral("/mnt"));
}

QString IdentityOf(const MountEntry& mount, const DiskNames& names) {
    // An automount point (x-systemd.automount) before its first access: which
    // file system it mounts is unknown, and looking would wait for a disk that
    // may be unplugged.
    if (mount.fileSystemType == QLatin1String("autofs")) return QStringLiteral("automount");
    const QString uuid = names.UuidOf(mount.device);
    if (uuid.isEmpty()) return QStringLiteral("mount");
    QString identity = QStringLiteral("uuid:") + uuid;
    // A folder of a file system mounted on its own (a bind mount, a btrfs
    // subvolume) is a drive of its own.
    if (!mount.fsRoot.isEmpty() && mount.fsRoot != QLatin1String("/")) identity += mount.fsRoot;
    return identity;
}

// The file systems mounted where users' disks are, in the order of their
// mount points; a mount point listed twice counts once (the later mount hides
// the earlier one).
QList<SeenFileSystem> SeenFileSystems(const DetectionSources& sources) {
    const DiskNames names = ReadDiskNames(sources.DiskFolder());
    QMap<QString, SeenFileSystem> byMountPoint;
    for (MountEntry mount : ReadMountTable(sources.MountTable())) {
        if (!IsUserMount(mount.mountPoint)) continue;
        const QString device = mount.device;
        if (mount.device.startsWith(u'/')) mount.device = sources.OnHost(mount.device).text();
        byMountPoint.insert(mount.mountPoint,
                            {IdentityOf(mount, names), DetectedType(mount, device),
                             mount.mountPoint, names.LabelOf(mount.device)});
    }
    return byMountPoint.values();
}

}  // namespace

DriveTable DriveTable::Load(const HostPath& settingsFile, QString* error) {
    const auto section = ReadProfileSection(settingsFile, QStringLiteral("Drives"));
    if (section.isEmpty()) return Detect(DetectionSources::FromEnvironment(), settingsFile, error);
    DriveTable table;
    for (const auto& [key, value] : section) {
        if (key.size() != 1) continue;
        const QStringList parts = value.split(u'|');
        if (parts.size() < 2 || parts[1].trimmed().isEmpty()) continue;
        table.Map(key[0], ParseDriveType(parts[0]), HostPath(parts[1].trimmed()),
                  parts.size() > 2 ? parts.mid(2).join(u'|').trimmed() : QString());
    }
    return table;
}

DetectionSources DetectionSources::FromEnvironment() {
    QString root = qEnvironmentVariable("KIBAKO_TEST_SYSTEM_ROOT");
    if (!root.isEmpty()) root = CleanRoot(root);
    return {HostPath(root == QLatin1String("/") ? QString() : root)};
}

DriveTable DriveTable::Detect() { return Detect(DetectionSources::FromEnvironment(), {}); }

DriveTable DriveTable::Detect(const DetectionSources& sources, const HostPath& settingsFile,
                              QString* error) {
    DriveTable table;
    table.detected_ = true;
    table.sources_ = sources;
    table.settingsFile_ = settingsFile;
    table.Map(u'C', DriveType::Fixed, HostPath(QStringLiteral("/")), QStorageInfo::root().name());
    table.drives_[u'C' - u'A']->detected = true;
    const QList<SeenFileSystem> mounts = SeenFileSystems(sources);
    QString why;
    const LetterAssignment assignment = settingsFile.isEmpty()
                                            ? AssignLetters({}, mounts)
                                            : RememberLetters(settingsFile, mounts, &why);
    if (!why.isEmpty() && error) *error = why;
    const bool written = !settingsFile.isEmpty() && why.isEmpty();
    for (const RememberedLetter& mounted : assignment.mounted) {
        const SeenFileSystem& fileSystem = mounted.fileSystem;
        const bool remembered =
            written || (!settingsFile.isEmpty() && !assignment.newLetters.contains(mounted.letter));
        table.drives_[mounted.letter.unicode() - u'A'] =
            Drive{mounted.letter,
                  fileSystem.type,
                  sources.OnHost(fileSystem.mountPoint),
                  fileSystem.label,
                  true,
                  remembered,
                  fileSystem.mountPoint};
    }
    for (const RememberedLetter& reserved : assignment.reserved) {
        const SeenFileSystem& fileSystem = reserved.fileSystem;
        table.drives_[reserved.letter.unicode() - u'A'] = Drive{
            reserved.letter,      DriveType::Removable, HostPath(), fileSystem.label, true, true,
            fileSystem.mountPoint};
    }
    for (const SeenFileSystem& fileSystem : assignment.unlettered)
        table.unlettered_.append(fileSystem.mountPoint);
    return table;
}

DriveTable DriveTable::Redetected() const {
    return detected_ ? Detect(sources_, settingsFile_) : *this;
}

void DriveTable::Map(QChar letter, DriveType type, const HostPath& root, const QString& label) {
    if (const auto slot = SlotOf(letter)) {
        Drive drive;
        drive.letter = QChar(u'A' + *slot);
        drive.type = type;
        drive.root = HostPath(CleanRoot(root.text()));
        drive.label = label;
        drives_[*slot] = drive;
    }
}

void DriveTable::Unmap(QChar letter) {
    if (const auto slot = SlotOf(letter)) drives_[*slot].reset();
}

std::optional<Drive> DriveTable::Find(QChar letter) const {
    const auto slot = SlotOf(letter);
    if (!slot || !drives_[*slot] || drives_[*slot]->root.isEmpty()) return std::nullopt;
    return drives_[*slot];
}

DriveType DriveTable::TypeOf(QChar letter) const {
    const auto slot = SlotOf(letter);
    if (!slot) return DriveType::Unknown;
    return drives_[*slot] ? drives_[*slot]->type : DriveType::NoRootDir;
}

QList<Drive> DriveTable::MappedDrives() const {
    QList<Drive> list;
    for (const auto& drive : drives_) {
        if (drive) list.append(*drive);
    }
    return list;
}

std::optional<QChar> DriveTable::LetterHolding(const HostPath& hostPath) const {
    const QString clean = QDir::cleanPath(hostPath.text());
    std::optional<QChar> best;
    qsizetype bestLength = -1;
    for (const auto& drive : drives_) {
        if (drive && !drive->root.isEmpty() && IsUnder(clean, drive->root.text()) &&
            drive->root.text().size() > bestLength) {
            best = drive->letter;
            bestLength = drive->root.text().size();
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

void RefreshDetectedDrives() { Current() = Current().Redetected(); }

}  // namespace platform
