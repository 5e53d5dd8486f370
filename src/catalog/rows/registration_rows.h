#pragma once

#include <QString>
#include <vector>

#include "catalog/rows/folder_model.h"

namespace catalog {

inline const QString kHeaderName = QStringLiteral("バックアップ設定");

// One registration as the settings or destination view arranges it: `path`
// is the folder the tree is built from (the source, or the destination).
struct RegistrationItem {
    QString path;
    QString pairedPath;  // the destination, or the source in the destination view
    QString lastBackup;
    QString flags;
    int icon = kIconFolder;
};

// Rows of a registration view: the header row (NAME "バックアップ設定", its
// paired path the definition file), then for each item the path rows of the
// components of its parent folder not yet shown and the item's own row one
// level below them. Items must come in tree order. No items give no rows at
// all. The drive component's icon comes from the drive type; in the
// destination view a component beginning with "(" (removable media) gets the
// removable icon.
void BuildRegistrationRows(FolderModel& m, const QString& definitionPath,
                           const std::vector<RegistrationItem>& items, bool destinationView);

// The icon of a drive component of a registration view.
int DriveComponentIcon(const QString& component, bool destinationView);

}  // namespace catalog
