#include "catalog/rows/registration_views.h"

#include <algorithm>

#include "catalog/rows/registration_rows.h"
#include "catalog/rows/row_record.h"
#include "util/path_names.h"
#include "util/text_case.h"

namespace catalog {
namespace {

int SettingsIcon(const store::BackupEntry& e) {
    int icon = kIconFolder;
    if (util::AsciiUpper(util::FileNameOf(e.sourceFolder)) == u"MY DOCUMENTS")
        icon = kIconMyDocuments;
    if (e.wellFormed && e.subFolders == store::SubFolders::InOneArchive) icon = kIconWholeTree;
    return icon;
}

int DestinationIcon(const QString& destination) {
    const QString extension = util::ExtensionOf(destination);
    if (extension == u"LZH") return kIconLzh;
    if (extension == u"ZIP") return kIconZip;
    return kIconFolder;
}

}  // namespace

void BuildSettingsView(FolderModel& m, store::DefinitionList& list, const QString& definitionPath,
                       const FailedRuns& failed) {
    std::vector<RegistrationItem> items;
    if (!list.IsEmpty()) {
        list.RecoverLastBackups(
            [&failed](const QString& source) { return failed.ReasonOf(source).has_value(); });
        for (const store::BackupEntry& e : list.Entries()) {
            EntryCells cells = CellsOf(e);
            items.push_back({e.sourceFolder, std::move(cells.destination),
                             std::move(cells.lastBackup), std::move(cells.flags), SettingsIcon(e)});
        }
    }
    BuildRegistrationRows(m, definitionPath, items, false);
}

void BuildDestinationView(FolderModel& m, store::DefinitionList& list,
                          const QString& definitionPath) {
    std::vector<RegistrationItem> items;
    if (!list.IsEmpty()) {
        const std::vector<store::BackupEntry> entries = list.Entries();
        std::optional<std::size_t> cut;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const store::BackupEntry& e = entries[i];
            if (!e.wellFormed) {
                cut = i;
                break;
            }
            items.push_back({e.destination, e.sourceFolder, e.lastBackup.Text(), e.storedFlags,
                             DestinationIcon(e.destination)});
        }
        if (cut) list.RepairFrom(*cut);
        std::stable_sort(
            items.begin(), items.end(), [](const RegistrationItem& a, const RegistrationItem& b) {
                const int order = store::CompareSortKeys(a.path, b.path);
                return order != 0 ? order < 0
                                  : store::CompareSortKeys(a.pairedPath, b.pairedPath) < 0;
            });
    }
    BuildRegistrationRows(m, definitionPath, items, true);
}

}  // namespace catalog
