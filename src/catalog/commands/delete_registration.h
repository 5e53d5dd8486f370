#pragma once

#include <QString>

namespace catalog {

class CatalogModel;

// What 設定を削除 did, for the window to tell.
enum class Deletion {
    Deleted,
    NoRegistration,        // the row has no registration of its own: a beep
    NotInDestinationView,  // the destination view edits nothing: kNoEditingInDestinationViewText
};

inline const QString kNoEditingInDestinationViewText =
    QStringLiteral("保存先表示では、編集作業はできません||") + QChar(1) +
    QStringLiteral("ドライブ表示") + QChar(0) + QStringLiteral("か、") + QChar(1) +
    QStringLiteral("保存設定表示") + QChar(0) + QStringLiteral("に切り替えてください");

// 設定を削除: deletes the registration of the current row of the model's
// current view, without asking; a registration made with its sub-folders
// takes the registrations below it along. The rows follow at once: the drive
// view shows the folders as unregistered (or as covered by a whole-tree
// registration above them), each shown cell through the model's listener;
// the settings view drops the rows a fresh build would not show, and the
// listener hears RowsReplaced. The destination view refuses, as does a row
// without a registration.
Deletion DeleteRegistration(CatalogModel& model);

}  // namespace catalog
