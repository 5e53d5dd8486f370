#pragma once

#include "engine/engine.h"
#include "platform/path_kinds.h"

#include <QString>

namespace engine {

// A removable medium is known by its title, kept in the hidden one-line file
// "VolName.DAT" at its root, or failing that by its volume label.
inline const QString kMediaTitleFile = QStringLiteral("VolName.DAT");
// What a removable medium without any title reads as.
inline const QString kNoTitle = QString(QChar(0));
inline const QString kUntitled = QStringLiteral("タイトル未定");
// The volume label ZIP disks carry from the factory: no title of the user's.
inline const QString kFactoryZipLabel = QStringLiteral("ZIP-100");

// Whether the path's drive holds a medium (its root folder is there).
bool MediumPresent(const platform::DrivePath& path);

// The title of the medium in the path's drive, remembered in the title cache:
// removable: the title file, else the volume label, else kNoTitle; fixed: the
// label; CD-ROM: the label, else the names of its root folders; other: empty.
QString ReadMediaTitleCached(Engine& engine, const platform::DrivePath& path);

// The title for the registration dialog: like the cached read, but a
// removable medium without a title file whose label is empty or "ZIP-100" is
// asked for one. Does not touch the cache.
QString ReadMediaTitle(Engine& engine, const platform::DrivePath& path);

// Asks for a title with the input dialog; a non-empty answer is written to the
// medium. `title` holds the default and receives the answer. A title that
// could not be found again (MediaTitleProblem) is refused with a message and
// asked for anew.
void AskMediaTitle(Engine& engine, const platform::DrivePath& path, QString& title,
                   const QString& currentTitle);

// Why a title the user typed cannot serve, as the message that says so; empty
// when it can. A title file is read to its first comma and without leading
// blanks or an opening quote, and a destination ends its title at the first
// "\": such titles would never be found again.
QString MediaTitleProblem(const QString& title);

// Writes the title file (hidden where the file system allows). A write-protected
// or missing medium asks to retry; giving up empties `title` and returns false.
// A title that the reading rule would cut (a comma, leading blanks) is
// written quoted, so that it reads back as written.
bool WriteMediaTitle(Engine& engine, const platform::DrivePath& path, QString& title);

// The line of a title file for `title`, without its line end.
QString MediaTitleLine(const QString& title);

// The names of the root folders of a CD-ROM, joined, cut to 220 characters.
QString CdRomFolderTitle(const platform::DrivePath& path);

// The title in the bytes of a title file: the first field of the first line,
// leading blanks skipped, ending at a comma unless quoted.
QString ParseMediaTitle(const QByteArray& bytes);
// The same rule on the decoded text.
QString TitleField(QString line);

// "CD-ROM", "フロッピー" (drive A) or "ZIP、MO".
QString MediaKindText(QChar driveLetter);

}  // namespace engine
