#include "catalog/registration_views.h"

#include <algorithm>

#include "catalog/registration_rows.h"
#include "catalog/row_record.h"
#include "util/path_names.h"
#include "util/text_case.h"

namespace kibako::catalog {
namespace {

int SettingsIcon(const RawEntry& e) {
    int icon = kIconFolder;
    if (util::AsciiUpper(util::FileNameOf(e.source.toString())) == u"MY DOCUMENTS")
        icon = kIconMyDocuments;
    if (!e.flags.isEmpty() && e.flags[0] == u'2') icon = kIconWholeTree;
    return icon;
}

int DestinationIcon(const QString& destination) {
    const QString extension = util::ExtensionOf(destination);
    if (extension == u"LZH") return kIconLzh;
    if (extension == u"ZIP") return kIconZip;
    return kIconFolder;
}

}  // namespace

void BuildSettingsView(FolderModel& m, store::DefinitionList& list, const QString& definitionPath) {
    std::vector<RegistrationItem> items;
    if (!list.IsEmpty()) {
        list.RecoverLastBackups();
        const QString& body = list.Body();
        for (auto e = NextRawEntry(body, 0); e; e = NextRawEntry(body, e->next)) {
            items.push_back({e->source.toString(), e->destination.toString(),
                             e->lastBackup.toString(), e->flags.toString(), SettingsIcon(*e)});
        }
    }
    BuildRegistrationRows(m, definitionPath, items, false);
}

void BuildDestinationView(FolderModel& m, store::DefinitionList& list,
                          const QString& definitionPath) {
    std::vector<RegistrationItem> items;
    if (!list.IsEmpty()) {
        const QString& body = list.Body();
        std::optional<qsizetype> cut;
        for (auto e = NextRawEntry(body, 0); e; e = NextRawEntry(body, e->next)) {
            if (!e->wellFormed) {
                cut = e->position;
                break;
            }
            const QString destination = e->destination.toString();
            items.push_back({destination, e->source.toString(), e->lastBackup.toString(),
                             e->flags.toString(), DestinationIcon(destination)});
        }
        if (cut) list.RepairAt(*cut);
        std::stable_sort(items.begin(), items.end(),
                         [](const RegistrationItem& a, const RegistrationItem& b) {
                             const int order = store::CompareSortKeys(a.path, b.path);
                             return order != 0 ? order < 0 : store::CompareSortKeys(a.f1, b.f1) < 0;
                         });
    }
    BuildRegistrationRows(m, definitionPath, items, true);
}

}  // namespace kibako::catalog
