#pragma once

#include <QString>
#include <QStringList>

#include "catalog/rows/folder_model.h"

namespace catalog::testing {

// A definition body of these entries, with its terminator.
QString Body(const QStringList& entries);

// Every row of a model's full list: level, icon, colour slot and record.
QStringList Rows(const FolderModel& m);

}  // namespace catalog::testing
