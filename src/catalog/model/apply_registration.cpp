#include "catalog/model/apply_registration.h"

#include <QDateTime>

#include <optional>

#include "catalog/model/catalog_model.h"
#include "platform/ascii_fold.h"
#include "platform/host_name.h"
#include "util/file_ops.h"
#include "util/name_list.h"
#include "util/numbers.h"

namespace catalog {
namespace {

constexpr int kDestinationColumn = 1;
constexpr int kLastBackupColumn = 2;
constexpr int kFlagsColumn = 3;

// The archive's time when a file stands at the destination and its time
// differs from the entry's; empty otherwise.
QString ArchiveTimeToShow(const store::BackupEntry& entry) {
    const platform::DrivePath destination(entry.destination);
    if (!util::FileExists(destination)) return {};
    const auto nanoseconds = util::ModifiedTimeOf(destination);
    if (!nanoseconds) return {};
    const QString text =
        util::FormatDateTime(QDateTime::fromMSecsSinceEpoch(*nanoseconds / 1000000));
    return text == entry.lastBackup.Text() ? QString() : text;
}

// Patches the folder's row; false when the current view has none.
bool PatchRow(CatalogModel& model, const store::BackupEntry& entry) {
    const auto row = model.FindRow(entry.sourceFolder);
    if (!row) return false;
    model.SetCell(row->fullRow, kDestinationColumn, entry.destination);
    model.SetCell(row->fullRow, kFlagsColumn, entry.FlagCharacters());
    // A new registration shows its (blank) time as a fresh build would.
    const QString time = ArchiveTimeToShow(entry);
    model.SetCell(row->fullRow, kLastBackupColumn, time.isEmpty() ? entry.lastBackup.Text() : time);
    if (model.View() != kDriveView) model.Definitions().SetModified(true);
    return true;
}

// The message box reads the codes 0 to 8 as colour and emphasis: a path
// holding them is shown with "?" in their place.
QString Printable(QString path) {
    for (QChar& c : path) {
        if (c.unicode() <= 8) c = u'?';
    }
    return platform::MessageText(path);
}

QString RefusalText(const store::BackupEntry& entry) {
    return QStringLiteral(
               "登録できません。|フォルダー名か保存先に、"
               "定義ファイルに書けない制御文字か、"
               "シフトJISで書けない名前のバイト列"
               "（UTF-8 ではない名前）があります。||") +
           Printable(entry.sourceFolder) + QStringLiteral("|→ ") + Printable(entry.destination);
}

// Every folder below the source becomes an entry of its own; the rows are
// patched afterwards in one pass.
// Folders whose names the definition file cannot hold are passed over; the
// first of them is returned to be named.
std::optional<store::BackupEntry> StoreSubFolders(store::DefinitionList& list,
                                                  const store::BackupEntry& entry) {
    std::optional<store::BackupEntry> refused;
    const QStringList names = util::SplitNameList(
        util::ListFolderNames(platform::DrivePath(entry.sourceFolder + QStringLiteral("\\*.*"))));
    for (const QString& name : names) {
        store::BackupEntry below = entry;
        below.sourceFolder = entry.sourceFolder + u'\\' + name;
        below.destination = entry.destination + u'\\' + name;
        if (!list.PutEntry(below)) {
            if (!refused) refused = below;
            continue;
        }
        const auto deeper = StoreSubFolders(list, below);
        if (!refused) refused = deeper;
    }
    return refused;
}

// The drive rows below the source take their own entries' destinations.
void PatchRowsBelow(CatalogModel& model, const store::BackupEntry& entry) {
    const auto row = model.FindRow(entry.sourceFolder);
    if (!row) return;
    const FullList& rows = model.DriveRows().list;
    store::DefinitionList& list = model.Definitions();
    const int level = rows.Level(row->fullRow);
    for (int r = row->fullRow + 1; r < rows.Count() && rows.Level(r) > level; ++r) {
        const std::optional<store::BackupEntry> below = list.EntryOf(rows.Cell(r, 4).toString());
        if (!below) continue;
        model.SetCell(r, kDestinationColumn, below->destination);
        model.SetCell(r, kFlagsColumn, below->FlagCharacters());
    }
}

// The message naming the first folder below that was refused, if any.
std::optional<QString> SpreadOverSubFolders(CatalogModel& model, const store::BackupEntry& entry) {
    const auto refused = StoreSubFolders(model.Definitions(), entry);
    if (model.View() == kDriveView) PatchRowsBelow(model, entry);
    if (refused) return RefusalText(*refused);
    return std::nullopt;
}

// Removes the entries below the source; in the drive view the rows below
// show the covering destination.
void GatherSubFolders(CatalogModel& model, const store::BackupEntry& entry) {
    store::DefinitionList& list = model.Definitions();
    const QString prefix = platform::AsciiFold(entry.sourceFolder) + u'\\';
    for (const store::BackupEntry& e : list.Entries()) {
        if (platform::AsciiFold(e.sourceFolder).startsWith(prefix))
            list.RemoveEntry(e.sourceFolder, false);
    }
    if (model.View() != kDriveView) return;
    const auto row = model.FindRow(entry.sourceFolder);
    if (!row) return;
    const FullList& rows = model.DriveRows().list;
    const int level = rows.Level(row->fullRow);
    const QString flags = entry.FlagCharacters();
    for (int r = row->fullRow + 1; r < rows.Count() && rows.Level(r) > level; ++r) {
        model.SetCell(r, kDestinationColumn, entry.destination);
        model.SetCell(r, kFlagsColumn, flags);
        // The time of a registration that is gone goes with it.
        model.SetCell(r, kLastBackupColumn, QString());
    }
}

}  // namespace

void ShowLastBackups(CatalogModel& model) {
    const FullList& rows = model.CurrentRows().list;
    store::DefinitionList& list = model.Definitions();
    const int sourceColumn = model.View() == kDestinationView ? kDestinationColumn : 4;
    const bool modified = list.Modified();
    for (int r = 0; r < rows.Count(); ++r) {
        const std::optional<store::BackupEntry> entry =
            list.EntryOf(rows.Cell(r, sourceColumn).toString());
        if (!entry) continue;
        const QString time = entry->lastBackup.Text();
        if (rows.Cell(r, kLastBackupColumn) != time) model.SetCell(r, kLastBackupColumn, time);
    }
    list.SetModified(modified);
}

RegistrationStored ApplyRegistration(CatalogModel& model, const store::BackupEntry& entry) {
    RegistrationStored stored;
    if (!model.Definitions().PutEntry(entry)) {
        stored.refusal = RefusalText(entry);
        return stored;
    }
    if (model.View() != kDriveView) model.MarkDriveRebuild();
    const bool patched = PatchRow(model, entry);
    if (entry.subFolders == store::SubFolders::EachAsEntry)
        stored.refusal = SpreadOverSubFolders(model, entry);
    if (entry.subFolders == store::SubFolders::InOneArchive) GatherSubFolders(model, entry);
    stored.rebuildView = model.View() != kDriveView && (!patched || entry.IncludesSubFolders());
    return stored;
}

}  // namespace catalog
