#include "util/name_list.h"

#include "util/path_names.h"

namespace util {
namespace {

QString ListNames(const platform::DrivePath& pattern, bool folders) {
    QStringList names;
    const auto what =
        folders ? platform::SearchDetail::FolderNames : platform::SearchDetail::NoFatBits;
    for (const auto& entry : platform::SearchDirectory(pattern, what).entries) {
        if (entry.isFolder == folders) names.append(entry.name);
    }
    return MakeNameList(names);
}

}  // namespace

QString ListFileNames(const platform::DrivePath& pattern) { return ListNames(pattern, false); }
QString ListFolderNames(const platform::DrivePath& pattern) { return ListNames(pattern, true); }

QString MakeNameList(const QStringList& names) {
    if (names.isEmpty()) return {};
    QString list;
    for (const QString& name : names) list += kNameSeparator + name;
    return list + kNameSeparator;
}

QStringList SplitNameList(const QString& nameList) {
    QStringList names = nameList.split(kNameSeparator);
    if (names.size() < 2) return {};
    names.removeFirst();
    names.removeLast();
    return names;
}

platform::SearchResult ListFolder(const platform::DrivePath& driveFolder,
                                  platform::SearchDetail detail) {
    return platform::SearchDirectory(JoinPath(driveFolder, QStringLiteral("*.*")), detail);
}

}  // namespace util
