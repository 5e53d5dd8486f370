#pragma once

#include <QString>
#include <QStringList>

#include "platform/dir_search.h"

namespace util {

// A name list: every name preceded by the character code 2 and one more code 2
// closing the list; the empty text when there are no names.
inline constexpr QChar kNameSeparator = QChar(2);

// Files (not folders) matching a pattern such as "C:\data\*.*", in the order
// the folder lists them. Names beginning with "." are never listed.
QString ListFileNames(const platform::DrivePath& pattern);
// Sub-folders matching the pattern.
QString ListFolderNames(const platform::DrivePath& pattern);

QString MakeNameList(const QStringList& names);
QStringList SplitNameList(const QString& nameList);

// The full search of a folder: files and folders with sizes and times, and
// whether the listing was read completely (the backup engine deletes nothing
// on an incomplete listing).
platform::SearchResult ListFolder(const platform::DrivePath& driveFolder,
                                  platform::SearchDetail detail = platform::SearchDetail::Full);

}  // namespace util
