#pragma once

#include "platform/path_kinds.h"

#include <QString>

// Windows-style path arithmetic: a drive ("C:"), components separated by "\",
// or a network path beginning with "\\". None of these touch the file system.
namespace util {

// Without the last component and its separator: C:\A\B gives C:\A, C:\A and
// C:\ and C: give C:, a bare name gives the empty text. A result of at most
// two characters means the path lay directly in a drive root.
QString ParentPath(const QString& path);

// The text after the last "\", else after the first ":", else the whole text.
QString FileNameOf(const QString& path);

// The last component without its extension.
QString BaseNameOf(const QString& path);

// The extension in upper case when a "." lies within the last six
// characters (so up to five characters), else empty.
QString ExtensionOf(const QString& path);

// The extension replaced (the first "." within the last six characters) or
// added.
QString ChangeExtension(const QString& path, const QString& extension);

// Folder and name with exactly one "\" between; a name holding ":" is
// already a full path and comes back unchanged.
QString JoinPath(const QString& folder, const QString& name);

// The same on a drive path.
inline platform::DrivePath JoinPath(const platform::DrivePath& folder, const QString& name) {
    return platform::DrivePath(JoinPath(folder.text(), name));
}
inline platform::DrivePath ParentPath(const platform::DrivePath& path) {
    return platform::DrivePath(ParentPath(path.text()));
}

// Without a final `c`, for texts longer than three characters (so C:\ stays).
QString StripTrailing(const QString& text, QChar c);

// Without the last n characters; empty when the text is shorter.
QString DropRight(const QString& text, qsizetype n);

}  // namespace util
