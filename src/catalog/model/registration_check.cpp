#include "catalog/model/registration_check.h"

#include "platform/drive_table.h"
#include "util/file_ops.h"
#include "util/path_names.h"

namespace catalog {

FolderProbe SystemFolderProbe() {
    return {[](QChar letter) {
                return platform::CurrentDrives().TypeOf(letter) == platform::DriveType::Fixed;
            },
            [](const QString& folder) { return util::FolderExists(platform::DrivePath(folder)); }};
}

MissingFolders FindMissingFolders(const store::DefinitionList& definitions,
                                  const FolderProbe& probe) {
    std::array<bool, 26> hardDisk{};
    for (int i = 0; i < 26; ++i)
        hardDisk[static_cast<size_t>(i)] = probe.isHardDisk(QChar(u'A' + i));
    MissingFolders missing;
    for (const store::BackupEntry& entry : definitions.Entries()) {
        QString source = entry.sourceFolder;
        if (source.isEmpty() || source[0] < u'A' || source[0] > u'Z') continue;
        const int index = source[0].unicode() - u'A';
        if (!hardDisk[static_cast<size_t>(index)]) continue;
        if (!util::ExtensionOf(source).isEmpty()) source = util::ParentPath(source);
        if (probe.folderExists(source)) continue;
        QStringList& list = missing[static_cast<size_t>(index)];
        if (!list.contains(source)) list.append(source);
    }
    return missing;
}

std::optional<QString> MovedFolderCandidate(const QString& missing, const FolderProbe& probe) {
    if (missing.isEmpty()) return std::nullopt;
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
        if (QChar(letter) == missing[0] || !probe.isHardDisk(QChar(letter))) continue;
        const QString candidate = QChar(letter) + missing.mid(1);
        if (probe.folderExists(candidate)) return candidate;
    }
    return std::nullopt;
}

QString DefaultDefinitionName(const QDate& today) {
    return QStringLiteral("Kibako") + today.toString(QStringLiteral("MMdd"));
}

QString NewDefinitionPath(const QString& answer, const platform::DrivePath& programFolder) {
    const bool hasFolder = answer.contains(u'\\') || answer.contains(u':');
    const QString path = hasFolder ? answer : util::JoinPath(programFolder, answer).text();
    return util::ChangeExtension(path, QStringLiteral("Def"));
}

}  // namespace catalog
