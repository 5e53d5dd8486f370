#include "catalog/rows/drive_reader.h"

#include <algorithm>

#include "catalog/rows/folder_model.h"
#include "catalog/rows/row_record.h"
#include "platform/dir_search.h"
#include "platform/drive_table.h"
#include "platform/host_path.h"
#include "store/definition_list.h"
#include "util/path_names.h"
#include "util/text_case.h"

namespace catalog {
namespace {

constexpr int kScanReadLevels = 3;
constexpr int kEventsEvery = 256;  // folders between two chances to repaint

QString HostChild(const QString& host, const QString& name) {
    return host.endsWith(u'/') ? host + name : host + u'/' + name;
}

}  // namespace

DriveReader::DriveReader(const std::vector<store::BackupEntry>& entries) {
    for (const store::BackupEntry& e : entries) {
        EntryCells cells = CellsOf(e);
        const bool wholeTree = e.wellFormed && e.subFolders == store::SubFolders::InOneArchive;
        registrations_.insert(e.sourceFolder,
                              {std::move(cells.destination), std::move(cells.lastBackup),
                               std::move(cells.flags), wholeTree});
        byFolded_.insert(util::AsciiUpper(e.sourceFolder), e.sourceFolder);
    }
}

QStringList DriveReader::SubFolderNames(const QString& hostFolder) {
    const platform::SearchResult found = platform::SearchHostFolder(
        platform::HostPath(hostFolder), QStringLiteral("*"), platform::SearchDetail::FolderNames);
    QStringList names;
    names.reserve(found.entries.size());
    for (const platform::FoundEntry& entry : found.entries) {
        if (!entry.isFolder || entry.name.startsWith(u'.') || entry.name.startsWith(u'}')) continue;
        if (util::AsciiUpper(entry.name) == u"RECYCLED") continue;
        names.append(entry.name);
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return store::CompareSortKeys(a, b) < 0; });
    return names;
}

FullList DriveReader::ScanDrive(QChar letter) {
    FullList out;
    const auto drive = platform::CurrentDrives().Find(letter);
    if (!drive) return out;
    const QString name = QString(letter.toUpper()) + u':';
    Visit(out, drive->root.text(), name, name, 1, {QString(), kNoFlags}, kScanReadLevels);
    return out;
}

FullList DriveReader::ReadChildren(const QString& drivePath, int level) {
    FullList out;
    const auto hostPath = platform::ToHostPath(
        platform::DrivePath(drivePath.size() == 2 ? drivePath + u'\\' : drivePath));
    if (!hostPath) return out;
    const QString& host = hostPath->text();
    const Covering inherited = CoveringOf(util::AsciiUpper(drivePath));
    for (const QString& child : SubFolderNames(host)) {
        Visit(out, HostChild(host, child), drivePath + u'\\' + child, child, level + 1, inherited,
              0);
    }
    return out;
}

const DriveReader::Registration* DriveReader::RegistrationOf(const QString& drivePath,
                                                             const QString& host) const {
    if (const auto it = registrations_.constFind(drivePath); it != registrations_.cend())
        return &*it;
    const auto folded = byFolded_.constFind(util::AsciiUpper(drivePath));
    if (folded == byFolded_.cend() ||
        platform::ToHostPath(platform::DrivePath(*folded)) != platform::HostPath(host))
        return nullptr;
    return &*registrations_.constFind(*folded);
}

DriveReader::Covering DriveReader::CoveringOf(const QString& upperPath) const {
    for (QString path = upperPath;;) {
        const auto source = byFolded_.constFind(path);
        const auto it =
            source == byFolded_.cend() ? registrations_.cend() : registrations_.constFind(*source);
        if (it != registrations_.cend() && it->wholeTree) return {it->destination, it->flags};
        const QString parent = util::ParentPath(path);
        if (parent == path || parent.isEmpty()) break;
        path = parent;
    }
    return {QString(), kNoFlags};
}

void DriveReader::Visit(FullList& out, const QString& host, const QString& drivePath,
                        const QString& name, int level, const Covering& inherited, int readLevels) {
    if (letEventsRun && ++visited_ % kEventsEvery == 0) letEventsRun();
    RowFields row{ShownName(name), inherited.destination, QString(),
                  inherited.flags, RowKey(drivePath),     readLevels == 0};
    Covering passed = inherited;
    const Registration* it = RegistrationOf(drivePath, host);
    if (it != nullptr) {
        row.pairedPath = it->destination;
        row.lastBackup = it->lastBackup;
        row.flags = it->flags;
        if (it->wholeTree) passed = {it->destination, it->flags};
    }
    int icon = kIconFolder;
    if (level == 1) icon = kIconDrive;
    if (level == 2 && name == u"My Documents") icon = kIconMyDocuments;
    out.Append(MakeRecord(row), level, icon);
    if (readLevels == 0) return;
    for (const QString& child : SubFolderNames(host)) {
        Visit(out, HostChild(host, child), drivePath + u'\\' + child, child, level + 1, passed,
              readLevels - 1);
    }
}

}  // namespace catalog
