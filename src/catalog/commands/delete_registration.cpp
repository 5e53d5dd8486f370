#include "catalog/commands/delete_registration.h"

#include "catalog/model/apply_registration.h"
#include "catalog/rows/row_lookup.h"
#include "catalog/rows/row_record.h"
#include "catalog/window/list_form.h"
#include "dialogs/message_box.h"
#include "platform/ascii_fold.h"
#include "util/path_names.h"
#include "widgets/beep.h"

namespace catalog {
namespace {

constexpr int kDestinationColumn = 1;
constexpr int kLastBackupColumn = 2;
constexpr int kFlagsColumn = 3;

const QString kDestinationViewText =
    QStringLiteral("保存先表示では、編集作業はできません||") + QChar(1) +
    QStringLiteral("ドライブ表示") + QChar(0) + QStringLiteral("か、") + QChar(1) +
    QStringLiteral("保存設定表示") + QChar(0) + QStringLiteral("に切り替えてください");

// The registration of the current row.
struct Target {
    int fullRow = -1;
    QString key;
    QString flags;
};

// The current row when it shows a destination and its folder is registered;
// otherwise a beep and nothing.
std::optional<Target> CurrentTarget(ListForm& form, const FolderModel& m) {
    const int shown = m.grid.currentRow;
    if (m.grid.rowCount == 0 || shown < 0 || shown >= static_cast<int>(m.rowMap.size())) {
        widgets::Beep();
        return std::nullopt;
    }
    const int full = m.rowMap[static_cast<size_t>(shown)];
    Target target{full, m.list.Cell(full, kKeyColumn).toString(),
                  m.list.Cell(full, kFlagsColumn).toString()};
    // A covered folder shows its cover's destination but has no entry of its own.
    if (m.list.Cell(full, kDestinationColumn).isEmpty() || target.key.isEmpty() ||
        !form.Definitions().HasEntry(target.key)) {
        widgets::Beep();
        return std::nullopt;
    }
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

void ShowUnregistered(ListForm& form, int fullRow, const Covering& cover) {
    form.SetCell(fullRow, kDestinationColumn, cover.destination);
    form.SetCell(fullRow, kLastBackupColumn, QString());
    form.SetCell(fullRow, kFlagsColumn, cover.flags);
}

void DeleteInDriveView(ListForm& form) {
    FolderModel& m = form.DriveRows();
    const auto target = CurrentTarget(form, m);
    if (!target) return;
    store::DefinitionList& list = form.Definitions();
    list.RemoveEntry(target->key, target->flags.startsWith(u'1'));
    const Covering cover = CoveringOf(list, target->key);
    ShowUnregistered(form, target->fullRow, cover);
    if (!WithSubFolders(target->flags)) return;
    const QString prefix = target->key + u'\\';
    for (int r = target->fullRow + 1;
         r < m.list.Count() && m.list.Cell(r, kKeyColumn).startsWith(prefix); ++r) {
        if (!list.HasEntry(m.list.Cell(r, kKeyColumn).toString())) ShowUnregistered(form, r, cover);
    }
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

void DeleteInSettingsView(ListForm& form) {
    FolderModel& m = form.RegistrationRows();
    const auto target = CurrentTarget(form, m);
    if (!target) return;
    const bool descendants = target->flags.startsWith(u'1');
    form.Definitions().RemoveEntry(target->key, descendants);
    form.MarkDriveRebuild();
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
        ShowUnregistered(form, target->fullRow, {QString(), QString()});
        m.list.SetIcon(target->fullRow, kIconFolder);
        m.list.SetColourSlot(target->fullRow, kSlotPath);
        ShowMappedRows(m);
    } else {
        RemoveWithEmptyParents(m, target->fullRow);
    }
    form.RepaintFolderGrid();
    form.ListFiles();
}

}  // namespace

void DeleteRegistration(ListForm& form) {
    switch (form.CurrentView()) {
        case kDriveView:
            DeleteInDriveView(form);
            break;
        case kDestinationView:
            dialogs::ShowMessage(&form, kDestinationViewText);
            break;
        default:
            DeleteInSettingsView(form);
            break;
    }
}

}  // namespace catalog
