#pragma once

#include "platform/drive_type.h"
#include "platform/path_kinds.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace platform {

struct Drive {
    QChar letter;  // 'A' .. 'Z'
    DriveType type = DriveType::NoRootDir;
    HostPath root;  // without a trailing "/" (except "/"); empty: no medium
    QString label;
    bool detected = false;    // found in the mount table (its label may change with the medium)
    bool remembered = false;  // the letter is kept for its file system in the settings file
    QString lastRoot;         // without a medium: where its file system was last mounted
};

// Where detection looks: the system whose mount table (proc/self/mountinfo)
// and disk names (dev/disk/by-uuid, by-label) are read, and under which the
// mount points lie. The empty root is this machine.
struct DetectionSources {
    HostPath systemRoot;  // without a trailing "/"; empty for this machine

    HostPath MountTable() const { return OnHost(QStringLiteral("/proc/self/mountinfo")); }
    HostPath DiskFolder() const { return OnHost(QStringLiteral("/dev/disk")); }
    // Where a path of that system ("/media/hana/USB") is on this one.
    HostPath OnHost(const QString& systemPath) const {
        return HostPath(systemRoot.text() + systemPath);
    }

    // This machine, unless the environment variable KIBAKO_TEST_SYSTEM_ROOT
    // names a folder standing for it. That variable exists for tests, which
    // plug and unplug disks by writing the folder's files; nothing else should
    // set it.
    static DetectionSources FromEnvironment();
};

// The 26 drive letters and the host folders they stand for.
class DriveTable {
  public:
    // The [Drives] section of the settings file `settingsFile` when it has one (one key per letter:
    // "type|host root|label", type removable, fixed, cdrom or other), else the table detected from
    // the mount table with the letters remembered in that file. `error` (optional) says why newly
    // given letters could not be remembered; they hold for this process.
    static DriveTable Load(const HostPath& settingsFile, QString* error = nullptr);

    // C: is "/". Every file system mounted under /media, /run/media or /mnt
    // gets the letter remembered for it in `settingsFile` wherever it is
    // mounted now; one never seen takes the lowest free letter from D: (in the
    // order of its mount point) and is remembered from now on. A remembered
    // file system that is not mounted keeps its letter as a removable drive
    // without a medium. With no settings file nothing is remembered.
    static DriveTable Detect(const DetectionSources& sources, const HostPath& settingsFile,
                             QString* error = nullptr);
    static DriveTable Detect();  // from the environment's sources, remembering nothing

    void Map(QChar letter, DriveType type, const HostPath& root, const QString& label = {});
    void Unmap(QChar letter);

    // The drive of a letter (either case) that has a root folder; nothing for
    // an unmapped letter or a drive without a medium.
    std::optional<Drive> Find(QChar letter) const;
    // Unmapped letters answer NoRootDir, anything that is not a letter Unknown.
    DriveType TypeOf(QChar letter) const;
    // Every mapped letter, drives without a medium included.
    QList<Drive> MappedDrives() const;
    // Mount points that detection found but had no letter left for.
    const QStringList& UnletteredMounts() const { return unlettered_; }
    bool FromSettings() const { return !detected_; }

    // The letter whose root holds `hostPath` (the longest root wins).
    std::optional<QChar> LetterHolding(const HostPath& hostPath) const;

    // The same detection again (media come and go); a table from the settings
    // file stays as it is.
    DriveTable Redetected() const;

  private:
    std::array<std::optional<Drive>, 26> drives_;
    bool detected_ = false;
    DetectionSources sources_;
    HostPath settingsFile_;
    QStringList unlettered_;
};

// The table the whole process works with. Programs load it at start-up;
// tests set their own.
const DriveTable& CurrentDrives();
void SetCurrentDrives(const DriveTable& table);

// Detects the drives again when the current table was detected; the same
// letters as at the start, with media inserted since then.
void RefreshDetectedDrives();

}  // namespace platform
