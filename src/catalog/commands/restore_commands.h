#pragma once

#include "catalog/forms/versions_form.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace catalog {

// What the catalog's restore and check ask of a person, replaceable in tests.
struct RestoreHooks {
    // Where a restore goes: nothing when cancelled, an empty text for the
    // folder the files came from, else another host folder.
    std::function<std::optional<QString>(QWidget* parent, const QString& sourceFolder)>
        chooseTarget;
    // Shows a report the user can read and copy.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> showReport;
    // The versions of a file, and what to restore of them.
    std::function<VersionChoice(QWidget* parent, const QString& fileName,
                                const std::vector<engine::FileVersion>& versions)>
        chooseVersion;
    // The time whose state 日時を指定して復元 brings back; nothing when cancelled.
    std::function<std::optional<QDateTime>(QWidget* parent, const QString& sourceFolder)>
        chooseTime;
};

// The real windows: a question (元のフォルダー / 別のフォルダー) and the folder
// dialog with the drives in its sidebar; the report window; the versions
// window; the time of 日時を指定して復元.
RestoreHooks WindowRestoreHooks();

}  // namespace catalog
