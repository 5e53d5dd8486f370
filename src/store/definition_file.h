#pragma once

#include "platform/path_kinds.h"
#include "store/definition_list.h"

#include <QString>
#include <QStringList>

namespace store {

class Settings;

inline constexpr int kDefinitionHeaderLength = 32;

// The definition file to use: the whole command line when there is one (the
// arguments joined with single blanks, quotes kept as given), else the setting
// CatalogName when that file exists, else "Kibako.Def" in the program folder.
// A command line that begins with "/" is a host path and comes back in its
// Windows form (the current drive table gets a drive for its folder when none
// reaches it).
QString ChooseDefinitionFile(const QStringList& arguments, const Settings& settings,
                             const platform::DrivePath& programFolder);

struct LoadResult {
    QString body;          // empty when there was no file
    QString warning;       // set when the file was damaged; what was readable is kept
    bool refused = false;  // not read at all: not a regular file, far too large, unreadable;
                           // `warning` says why, and it must not be saved over
};

// Reads the definition file at a Windows-style path: a 32-character header
// whose first 8 characters give the body's length in hexadecimal, then the
// body. A missing file gives an empty body. A damaged file gives what can be
// read, always ending in the terminator, and a warning: a header whose length
// is not eight hex digits, a length of 0 with a body after it, a body cut
// short, a terminator before the body's end, or bytes the code page cannot
// carry.
LoadResult LoadDefinitions(const QString& path);

// The same from the file's bytes.
LoadResult ParseDefinitionBytes(const QByteArray& bytes);

// Saves what the list changed (its Changes(): registrations added, replaced
// or deleted, last-backup times of runs) into the file as it is on disk now,
// under the lock "<file>.lock" beside it, so that what another program saved
// since this one read the file stays. The file is written (header and body,
// code page 932 or UTF-8 when a name needs it) through a temporary file
// renamed over the old one; a merged list with no entries deletes the file. A
// file found damaged is kept beside the new one as "<name>.damaged" before it
// is replaced. Clears the modified flag and the changes on success; false
// (nothing changed on disk) and `error` on failure.
struct SaveResult {
    bool ok = false;
    // Nothing was there to do: no path, or an empty list and no file to
    // delete. The caller beeps.
    bool nothingToDo = false;
    explicit operator bool() const { return ok; }
};
SaveResult SaveDefinitions(const QString& path, DefinitionList& list, QString* error = nullptr);

// The same save from the changes alone, for a program that is done with its
// list (Tetoru after its run): the list's own entries need not stay in memory
// beside the merged copy of the file. `listIsEmpty` is what the list held.
SaveResult SaveChanges(const QString& path, const DefinitionChanges& changes, bool listIsEmpty,
                       QString* error = nullptr);

// The bytes of the file for a body.
QByteArray DefinitionFileBytes(const QString& body);

}  // namespace store
