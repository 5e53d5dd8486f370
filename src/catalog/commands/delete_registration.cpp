#include "catalog/commands/delete_registration.h"

#include <optional>

#include "catalog/model/catalog_model.h"
#include "catalog/rows/row_lookup.h"
#include "catalog/rows/row_record.h"
#include "platform/ascii_fold.h"
#include "util/path_names.h"

namespace catalog {
namespace {

constexpr int kDestinationColumn = 1;
constexpr int kLastBackupColumn = 2;
constexpr int kFlagsColumn = 3;

// The registration of the current row.
struct Target {
    int fullRow = -1;
    QString key;
    QString flags;
};

// The current row when it shows a destination and its folder is registered.
std::optional<Target> CurrentTarget(const store::DefinitionList& list, const FolderModel& m) {
    const int shown = m.grid.currentRow;
    if (m.grid.rowCount == 0 || shown < 0 || shown >= static_cast<int>(m.rowMap.size()))
        return std::nullopt;
    const int full = m.rowMap[static_cast<size_t>(shown)];
    Target target{full, m.list.Cell(full, kKeyColumn).toString(),
                  m.list.Cell(full, kFlagsColumn).toString()};
    // A covered folder shows its cover's destination but has no entry of its own.
    if (m.list.Cell(full, kDestinationColumn).isEmpty() || target.key.isEmpty() ||
        !list.HasEntry(target.key))
        return std::nullopt;
    return target;
}

bool WithSubFolders(const QString& flags) {
    return flags.startsWith(u'1') || flags.startsWith(u'2');
}

// The whole-tree registration of a folder above `upperKey` that covers it:
// what the drive view shows for an unregistered folder.
struct Covering {
    QString destination;
    QString flags = kNoFlags;
};

Covering CoveringOf(const store::DefinitionList& list, const QString& upperKey) {
    for (QString path = util::ParentPath(upperKey); path.size() >= 2;) {
        if (const std::optional<store::BackupEntry> entry = list.EntryOf(path)) {
            if (entry->subFolders == store::SubFolders::InOneArchive)
                return {entry->destination, entry->FlagCharacters()};
        }
        const QString parent = util::ParentPath(path);
        if (parent == path) break;
        path = parent;
    }
    return {};
}

void ShowUnregistered(CatalogModel& model, int fullRow, const Covering& cover) {
    model.SetCell(fullRow, kDestinationColumn, cover.destination);
    model.SetCell(fullRow, kLastBackupColumn, QString());
    model.SetCell(fullRow, kFlagsColumn, cover.flags);
}

Deletion DeleteInDriveView(CatalogModel& model) {
    FolderModel& m = model.DriveRows();
    store::DefinitionList& list = model.Definitions();
    const auto target = CurrentTarget(list, m);
    if (!target) return Deletion::NoRegistration;
    list.RemoveEntry(target->key, target->flags.startsWith(u'1'));
    const Covering cover = CoveringOf(list, target->key);
    ShowUnregistered(model, target->fullRow, cover);
    if (!WithSubFolders(target->flags)) return Deletion::Deleted;
    const QString prefix = target->key + u'\\';
    for (int r = target->fullRow + 1;
         r < m.list.Count() && m.list.Cell(r, kKeyColumn).startsWith(prefix); ++r) {
        if (!list.HasEntry(m.list.Cell(r, kKeyColumn).toString()))
            ShowUnregistered(model, r, cover);
    }
    return Deletion::Deleted;
}

// Removes the row and then every path row above it that is left without
// rows below; the header goes with the last registration.
void RemoveWithEmptyParents(FolderModel& m, int fullRow) {
    while (fullRow >= 0) {
        const int parent = ParentRow(m.list, fullRow);
        RemoveFullRows(m, fullRow, 1);
        if (parent < 0 || HasChildren(m, parent)) break;
        const int slot = m.list.ColourSlot(parent);
        if (slot != kSlotPath && slot != kSlotHeader) break;
        fullRow = parent;
    }
}

Deletion DeleteInSettingsView(CatalogModel& model) {
    FolderModel& m = model.RegistrationRows();
    const auto target = CurrentTarget(model.Definitions(), m);
    if (!target) return Deletion::NoRegistration;
    const bool descendants = target->flags.startsWith(u'1');
    model.Definitions().RemoveEntry(target->key, descendants);
    model.MarkDriveRebuild();
    if (descendants) {
        // The registrations below are gone, and with them every row below.
        const QString prefix = target->key + u'\\';
        int end = target->fullRow + 1;
        // The rows follow the sorted registrations, whose case may differ.
        const QString folded = platform::AsciiFold(prefix);
        while (end < m.list.Count() &&
               platform::AsciiFold(m.list.Cell(end, kKeyColumn)).startsWith(folded))
            ++end;
        RemoveFullRows(m, target->fullRow + 1, end - target->fullRow - 1);
    }
    if (HasChildren(m, target->fullRow)) {
        // It stays as the path row of the registrations below it.
        ShowUnregistered(model, target->fullRow, {QString(), QString()});
        m.list.SetIcon(target->fullRow, kIconFolder);
        m.list.SetColourSlot(target->fullRow, kSlotPath);
        ShowMappedRows(m);
    } else {
        RemoveWithEmptyParents(m, target->fullRow);
    }
    model.RowsReplaced();
    return Deletion::Deleted;
}

}  // namespace

Deletion DeleteRegistration(CatalogModel& model) {
    switch (model.View()) {
        case kDriveView:
            return DeleteInDriveView(model);
        case kDestinationView:
            return Deletion::NotInDestinationView;
        default:
            return DeleteInSettingsView(model);
    }
}

}  // namespace catalog
