#pragma once

#include "platform/drive_type.h"
#include "platform/path_kinds.h"

#include <QChar>
#include <QList>
#include <QPair>
#include <QString>

namespace platform {

// A file system that detection found mounted.
struct SeenFileSystem {
    // "uuid:" and the file system's UUID (followed by the mounted folder of
    // the file system when that is not all of it), or "mount" for a file
    // system without a UUID, which is known by its label and mount point, or
    // "automount" for a mount point that mounts its file system on first
    // access (which file system is unknown until then).
    QString identity;
    DriveType type = DriveType::Fixed;
    QString mountPoint;
    QString label;
};

// A letter remembered in the settings file's [DriveLetters] section: the key
// is the letter, the value "identity|type|mount point|label" (type as in the
// [Drives] section), where the mount point and label are those last seen.
struct RememberedLetter {
    QChar letter;
    SeenFileSystem fileSystem;
};

inline const QString kDriveLettersSection = QStringLiteral("DriveLetters");

QList<RememberedLetter> ParseRememberedLetters(const QList<QPair<QString, QString>>& section);
QString FormatRememberedLetter(const SeenFileSystem& fileSystem);

struct LetterAssignment {
    QList<RememberedLetter> mounted;     // every mounted file system that has a letter
    QList<RememberedLetter> reserved;    // remembered file systems that are not mounted
    QList<RememberedLetter> toRemember;  // new letters, and remembered ones seen changed
    QList<SeenFileSystem> unlettered;    // seen for the first time with no letter free
    QList<QChar> newLetters;             // the letters of toRemember given just now
};

// The letters for the file systems mounted now (in mount point order):
// a remembered file system gets its letter back wherever it is mounted; a
// file system never seen takes the lowest letter from D: that is neither C:
// nor remembered. When one file system is mounted twice, the mount at the
// remembered mount point (else the first) keeps the letter and the other is
// known by its mount point. An automount point gets the letter of the
// remembered file system last mounted there, and none when there is none.
LetterAssignment AssignLetters(const QList<RememberedLetter>& remembered,
                               const QList<SeenFileSystem>& mounts);

// AssignLetters against the [DriveLetters] section of `settingsFile`, writing
// what is to be remembered back into it: the read, the choice and the write
// hold the file's ProfileLock, so programs starting at the same time never
// give one letter to two file systems. When the write fails the letters still
// hold for this process and `error` says why.
LetterAssignment RememberLetters(const HostPath& settingsFile, const QList<SeenFileSystem>& mounts,
                                 QString* error = nullptr);

}  // namespace platform
