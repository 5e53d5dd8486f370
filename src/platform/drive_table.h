#pragma once

#include <QChar>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace platform {

// Drive types as the Windows drive-type call answers them.
enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Other = 4, CdRom = 5 };

struct Drive {
    QChar letter;  // 'A' .. 'Z'
    DriveType type = DriveType::NoRootDir;
    QString root;  // host folder, without a trailing "/" (except "/")
    QString label;
    bool detected = false;  // found in the mount table (its label may change with the medium)
};

// The 26 drive letters and the host folders they stand for.
class DriveTable {
  public:
    // The [Drives] section of the settings file at `hostSettingsPath` when it
    // has one (one key per letter: "type|host root|label", type removable,
    // fixed, cdrom or other), else the table detected from the mount table.
    static DriveTable Load(const QString& hostSettingsPath);

    // C: is "/"; every file system mounted under /media, /run/media or /mnt
    // takes the next free letter from D: in the order of its mount point.
    static DriveTable Detect();

    void Map(QChar letter, DriveType type, const QString& root, const QString& label = {});
    void Unmap(QChar letter);

    // The drive of a letter (either case); nothing for an unmapped letter.
    std::optional<Drive> Find(QChar letter) const;
    // Unmapped letters answer NoRootDir, anything that is not a letter Unknown.
    DriveType TypeOf(QChar letter) const;
    QList<Drive> MappedDrives() const;

    // The letter whose root holds `hostPath` (the longest root wins).
    std::optional<QChar> LetterHolding(const QString& hostPath) const;

  private:
    std::array<std::optional<Drive>, 26> drives_;
};

// The table the whole process works with. Programs load it at start-up;
// tests set their own.
const DriveTable& CurrentDrives();
void SetCurrentDrives(const DriveTable& table);

// Detects the drives again when the current table was detected (media come
// and go); a table from the settings file stays as it is.
void RefreshDetectedDrives();

}  // namespace platform
