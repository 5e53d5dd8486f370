#pragma once

#include <QString>

namespace catalog {

// The icon of every file kind the file grid knows, as pairs "icon/EXTENSION/"
// in one text that the lookup searches.
extern const QString kExtensionIconTable;

// The icon drawn for files of every extension that is not in the table.
inline constexpr int kIconOtherFile = 22;

// The icon code (17 to 37) of an upper-case extension; 22 when the table
// does not name it (also for the empty extension).
int IconForExtension(const QString& extension);

}  // namespace catalog
