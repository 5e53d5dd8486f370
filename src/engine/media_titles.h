#pragma once

#include "engine/engine.h"

#include <QString>

namespace engine {

// A removable medium is known by its title, kept in the hidden one-line file
// "VolName.DAT" at its root, or failing that by its volume label.
inline const QString kMediaTitleFile = QStringLiteral("VolName.DAT");
// What a removable medium without any title reads as.
inline const QString kNoTitle = QString(QChar(0));
inline const QString kUntitled = QStringLiteral("タイトル未定");

// The title of the medium in the path's drive, remembered in the title cache:
// removable: the title file, else the volume label, else kNoTitle; fixed: the
// label; CD-ROM: the label, else the names of its root folders; other: empty.
QString ReadMediaTitleCached(Engine& engine, const QString& path);

// The title for the registration dialog: like the cached read, but a
// removable medium without a title file whose label is empty or "ZIP-100" is
// asked for one. Does not touch the cache.
QString ReadMediaTitle(Engine& engine, const QString& path);

// Asks for a title with the input dialog; a non-empty answer is written to the
// medium. `title` holds the default and receives the answer.
void AskMediaTitle(Engine& engine, const QString& path, QString& title,
                   const QString& currentTitle);

// Writes the title file (hidden where the file system allows). A write-protected
// or missing medium asks to retry; giving up empties `title` and returns false.
bool WriteMediaTitle(Engine& engine, const QString& path, QString& title);

// The names of the root folders of a CD-ROM, joined, cut to 220 characters.
QString CdRomFolderTitle(const QString& path);

// The title in the bytes of a title file: the first field of the first line,
// leading blanks skipped, ending at a comma unless quoted.
QString ParseMediaTitle(const QByteArray& bytes);

// "CD-ROM", "フロッピー" (drive A) or "ZIP、MO".
QString MediaKindText(QChar driveLetter);

}  // namespace engine
