#include "platform/drive_letters.h"

#include "platform/profile_file.h"
#include "platform/profile_lock.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <optional>

namespace platform {
namespace {

const QString kUuidPrefix = QStringLiteral("uuid:");
const QString kByMountPoint = QStringLiteral("mount");
const QString kAutomount = QStringLiteral("automount");
constexpr int kLetters = 26;
constexpr int kSystemSlot = 2;    // C: is always "/"
constexpr int kFirstNewSlot = 3;  // new file systems start at D:

std::optional<int> SlotOf(const QString& key) {
    if (key.size() != 1) return std::nullopt;
    const char16_t upper = key[0].toUpper().unicode();
    if (upper < u'A' || upper > u'Z' || upper - u'A' == kSystemSlot) return std::nullopt;
    return upper - u'A';
}

QChar LetterOf(int slot) { return QChar(u'A' + slot); }

// What makes two sightings one file system.
QString MatchKey(const SeenFileSystem& fileSystem) {
    if (fileSystem.identity.startsWith(kUuidPrefix)) return fileSystem.identity;
    return kByMountPoint + u'|' + fileSystem.mountPoint + u'|' + fileSystem.label;
}

bool SameSighting(const SeenFileSystem& a, const SeenFileSystem& b) {
    return a.identity == b.identity && a.type == b.type && a.mountPoint == b.mountPoint &&
           a.label == b.label;
}

class Assigner {
  public:
    Assigner(const QList<RememberedLetter>& remembered, const QList<SeenFileSystem>& mounts)
        : seen_(mounts), letterOf_(mounts.size()) {
        taken_[kSystemSlot] = true;
        QList<RememberedLetter> sorted = remembered;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto& a, const auto& b) { return a.letter < b.letter; });
        for (const RememberedLetter& record : sorted) {
            const auto slot = SlotOf(QString(record.letter));
            if (!slot || taken_[*slot]) continue;
            taken_[*slot] = true;
            const QString key = MatchKey(record.fileSystem);
            // Of two records of one file system the lower letter is used; the
            // other stays reserved rather than pass to another disk.
            if (records_.contains(key)) {
                result_.reserved.append(record);
            } else {
                records_.insert(key, record);
            }
        }
    }

    LetterAssignment Run() {
        // A mount at its remembered place claims first, so that a second mount
        // of the same file system elsewhere cannot take the letter from it.
        for (qsizetype i = 0; i < seen_.size(); ++i) {
            const auto record = records_.constFind(MatchKey(seen_[i]));
            if (record != records_.cend() && record->fileSystem.mountPoint == seen_[i].mountPoint)
                Claim(i);
        }
        for (qsizetype i = 0; i < seen_.size(); ++i) {
            if (letterOf_[i] || IsAutomount(i)) continue;
            if (keysInUse_.contains(MatchKey(seen_[i]))) seen_[i].identity = kByMountPoint;
            Claim(i);
        }
        for (qsizetype i = 0; i < seen_.size(); ++i) {
            if (IsAutomount(i)) ClaimByMountPoint(i);
        }
        for (qsizetype i = 0; i < seen_.size(); ++i) {
            if (!letterOf_[i] && !IsAutomount(i)) GiveNewLetter(i);
        }
        for (qsizetype i = 0; i < seen_.size(); ++i) {
            if (letterOf_[i]) result_.mounted.append({*letterOf_[i], seen_[i]});
        }
        for (const RememberedLetter& record : records_) result_.reserved.append(record);
        std::sort(result_.reserved.begin(), result_.reserved.end(),
                  [](const auto& a, const auto& b) { return a.letter < b.letter; });
        return result_;
    }

  private:
    bool IsAutomount(qsizetype i) const { return seen_[i].identity == kAutomount; }

    // Accessing the automount point will mount the file system remembered
    // there, so the letter stays with it; the record itself is not changed.
    void ClaimByMountPoint(qsizetype i) {
        auto chosen = records_.end();  // of several last mounted there, the lowest letter
        for (auto record = records_.begin(); record != records_.end(); ++record) {
            if (record->fileSystem.mountPoint == seen_[i].mountPoint &&
                (chosen == records_.end() || record->letter < chosen->letter)) {
                chosen = record;
            }
        }
        if (chosen == records_.end()) return;
        letterOf_[i] = chosen->letter;
        const QString mountPoint = seen_[i].mountPoint;
        seen_[i] = chosen->fileSystem;
        seen_[i].mountPoint = mountPoint;
        records_.erase(chosen);
    }

    void Claim(qsizetype i) {
        const auto record = records_.find(MatchKey(seen_[i]));
        if (record == records_.end()) return;
        letterOf_[i] = record->letter;
        keysInUse_.insert(record.key());
        if (!SameSighting(record->fileSystem, seen_[i]))
            result_.toRemember.append({record->letter, seen_[i]});
        records_.erase(record);
    }

    void GiveNewLetter(qsizetype i) {
        if (keysInUse_.contains(MatchKey(seen_[i]))) seen_[i].identity = kByMountPoint;
        if (keysInUse_.contains(MatchKey(seen_[i]))) return;  // the same mount listed twice
        int slot = kFirstNewSlot;
        while (slot < kLetters && taken_[slot]) ++slot;
        if (slot == kLetters) {
            result_.unlettered.append(seen_[i]);
            return;
        }
        taken_[slot] = true;
        letterOf_[i] = LetterOf(slot);
        keysInUse_.insert(MatchKey(seen_[i]));
        result_.toRemember.append({LetterOf(slot), seen_[i]});
        result_.newLetters.append(LetterOf(slot));
    }

    QList<SeenFileSystem> seen_;
    QList<std::optional<QChar>> letterOf_;
    std::array<bool, kLetters> taken_{};
    QHash<QString, RememberedLetter> records_;
    QSet<QString> keysInUse_;
    LetterAssignment result_;
};

}  // namespace

QList<RememberedLetter> ParseRememberedLetters(const QList<QPair<QString, QString>>& section) {
    QList<RememberedLetter> letters;
    for (const auto& [key, value] : section) {
        const auto slot = SlotOf(key.trimmed());
        const QStringList parts = value.split(u'|');
        if (!slot || parts.size() < 3) continue;
        SeenFileSystem fileSystem{parts[0].trimmed(), ParseDriveType(parts[1]), parts[2].trimmed(),
                                  parts.mid(3).join(u'|').trimmed()};
        const bool byUuid =
            fileSystem.identity.startsWith(kUuidPrefix) && fileSystem.identity.size() > 5;
        const bool byMountPoint =
            fileSystem.identity == kByMountPoint && !fileSystem.mountPoint.isEmpty();
        if (byUuid || byMountPoint) letters.append({LetterOf(*slot), fileSystem});
    }
    return letters;
}

QString FormatRememberedLetter(const SeenFileSystem& fileSystem) {
    return QStringList{fileSystem.identity, DriveTypeWord(fileSystem.type), fileSystem.mountPoint,
                       fileSystem.label}
        .join(u'|');
}

LetterAssignment AssignLetters(const QList<RememberedLetter>& remembered,
                               const QList<SeenFileSystem>& mounts) {
    return Assigner(remembered, mounts).Run();
}

LetterAssignment RememberLetters(const HostPath& settingsFile, const QList<SeenFileSystem>& mounts,
                                 QString* error) {
    const ProfileLock lock(settingsFile);
    const LetterAssignment assignment = AssignLetters(
        ParseRememberedLetters(ReadProfileSection(settingsFile, kDriveLettersSection)), mounts);
    if (assignment.toRemember.isEmpty()) return assignment;
    QList<QPair<QString, QString>> keys;
    for (const RememberedLetter& record : assignment.toRemember)
        keys.append({QString(record.letter), FormatRememberedLetter(record.fileSystem)});
    WriteProfileKeys(lock, settingsFile, kDriveLettersSection, keys, error);
    return assignment;
}

}  // namespace platform
