#include "catalog/rows/registration_rows.h"

#include "catalog/rows/row_record.h"
#include "platform/drive_table.h"
#include "util/path_names.h"
#include "util/text_case.h"

namespace catalog {
namespace {

// Length of the longest common beginning of `parent` (ending in "\") and the
// previous parent that ends with "\".
qsizetype CommonFolderLength(const QString& parent, const QString& previous) {
    if (parent.startsWith(previous)) return previous.size();
    const qsizetype limit = std::min(parent.size(), previous.size());
    qsizetype common = 0;
    for (qsizetype i = 0; i < limit && parent[i] == previous[i]; ++i) {
        if (parent[i] == u'\\') common = i + 1;
    }
    return common;
}

class RowsWriter {
  public:
    explicit RowsWriter(FolderModel& m) : m_(m) {}

    void Header(const QString& definitionPath) {
        Add({kHeaderName, definitionPath, {}, {}, {}}, 0, kIconHeader, kSlotHeader);
    }

    void Add(const RowFields& fields, int level, int icon, int slot) {
        m_.list.Append(MakeRecord(fields), level, icon, slot);
    }

  private:
    FolderModel& m_;
};

}  // namespace

int DriveComponentIcon(const QString& component, bool destinationView) {
    if (destinationView && component.startsWith(u'(')) return kIconRemovable;
    const QChar letter = component.isEmpty() ? QChar() : component[0];
    switch (platform::CurrentDrives().TypeOf(letter)) {
        case platform::DriveType::Removable:
            return kIconRemovable;
        case platform::DriveType::CdRom:
            return kIconCdRom;
        default:
            return kIconDrive;
    }
}

void BuildRegistrationRows(FolderModel& m, const QString& definitionPath,
                           const std::vector<RegistrationItem>& items, bool destinationView) {
    m.list.Clear();
    m.rowMap.clear();
    if (!items.empty()) {
        m.list.Reserve(static_cast<int>(items.size()) * 2 + 1,
                       static_cast<qsizetype>(items.size()) * 160);
        RowsWriter rows(m);
        rows.Header(definitionPath);
        QString previousParent;  // upper-cased, ending in "\"
        QString previousEntry;   // upper-cased
        for (const RegistrationItem& item : items) {
            const QString parent = util::ParentPath(item.path);
            const QString upperParent = util::AsciiUpper(parent) + u'\\';
            const QString exactParent = RowKey(parent) + u'\\';
            const QStringList components = parent.split(u'\\');
            if (upperParent != previousParent) {
                const qsizetype common = CommonFolderLength(upperParent, previousParent);
                qsizetype end = -1;
                for (int i = 0; i < components.size(); ++i) {
                    end += components[i].size() + 1;  // position of the "\" after it
                    if (end < common) continue;
                    if (upperParent.left(end) == previousEntry) continue;
                    const QString key = exactParent.left(end);
                    const int icon =
                        i == 0 ? DriveComponentIcon(components[i], destinationView) : kIconFolder;
                    rows.Add({ShownName(components[i]), {}, {}, {}, key}, 2 + i, icon, kSlotPath);
                }
            }
            const QString upperPath = util::AsciiUpper(item.path);
            rows.Add({ShownName(util::FileNameOf(item.path)), item.pairedPath, item.lastBackup,
                      item.flags, RowKey(item.path)},
                     2 + static_cast<int>(components.size()), item.icon, kSlotRegistration);
            previousParent = upperParent;
            previousEntry = upperPath;
        }
    }
    m.rowMap.resize(static_cast<size_t>(m.list.Count()));
    for (int r = 0; r < m.list.Count(); ++r) m.rowMap[static_cast<size_t>(r)] = r;
    ShowMappedRows(m);
    m.grid.currentRow = 0;
    m.grid.topRow = 0;
}

}  // namespace catalog
