#include "catalog/model/apply_registration.h"

#include <QDateTime>

#include <optional>

#include "catalog/window/list_form.h"
#include "dialogs/message_box.h"
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
bool PatchRow(ListForm& form, const store::BackupEntry& entry) {
    const auto row = form.FindRow(entry.sourceFolder);
    if (!row) return false;
    form.SetCell(row->fullRow, kDestinationColumn, entry.destination);
    form.SetCell(row->fullRow, kFlagsColumn, entry.FlagCharacters());
    // A new registration shows its (blank) time as a fresh build would.
    const QString time = ArchiveTimeToShow(entry);
    form.SetCell(row->fullRow, kLastBackupColumn, time.isEmpty() ? entry.lastBackup.Text() : time);
    if (form.CurrentView() != kDriveView) form.Definitions().SetModified(true);
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

void SayRefused(ListForm& form, const store::BackupEntry& entry) {
    dialogs::ShowMessage(&form, QStringLiteral("登録できません。|フォルダー名か保存先に、"
                                               "定義ファイルに書けない制御文字か、"
                                               "シフトJISで書けない名前のバイト列"
                                               "（UTF-8 ではない名前）があります。||") +
                                    Printable(entry.sourceFolder) + QStringLiteral("|→ ") +
                                    Printable(entry.destination));
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
void PatchRowsBelow(ListForm& form, const store::BackupEntry& entry) {
    const auto row = form.FindRow(entry.sourceFolder);
    if (!row) return;
    const FullList& rows = form.DriveRows().list;
    store::DefinitionList& list = form.Definitions();
    const int level = rows.Level(row->fullRow);
    for (int r = row->fullRow + 1; r < rows.Count() && rows.Level(r) > level; ++r) {
        const std::optional<store::BackupEntry> below = list.EntryOf(rows.Cell(r, 4).toString());
        if (!below) continue;
        form.SetCell(r, kDestinationColumn, below->destination);
        form.SetCell(r, kFlagsColumn, below->FlagCharacters());
    }
}

void SpreadOverSubFolders(ListForm& form, const store::BackupEntry& entry) {
    const auto refused = StoreSubFolders(form.Definitions(), entry);
    if (form.CurrentView() == kDriveView) PatchRowsBelow(form, entry);
    if (refused) SayRefused(form, *refused);
}

// Removes the entries below the source; in the drive view the rows below
// show the covering destination.
void GatherSubFolders(ListForm& form, const store::BackupEntry& entry) {
    store::DefinitionList& list = form.Definitions();
    const QString prefix = platform::AsciiFold(entry.sourceFolder) + u'\\';
    for (const store::BackupEntry& e : list.Entries()) {
        if (platform::AsciiFold(e.sourceFolder).startsWith(prefix))
            list.RemoveEntry(e.sourceFolder, false);
    }
    if (form.CurrentView() != kDriveView) return;
    const auto row = form.FindRow(entry.sourceFolder);
    if (!row) return;
    const FullList& rows = form.DriveRows().list;
    const int level = rows.Level(row->fullRow);
    const QString flags = entry.FlagCharacters();
    for (int r = row->fullRow + 1; r < rows.Count() && rows.Level(r) > level; ++r) {
        form.SetCell(r, kDestinationColumn, entry.destination);
        form.SetCell(r, kFlagsColumn, flags);
        // The time of a registration that is gone goes with it.
        form.SetCell(r, kLastBackupColumn, QString());
    }
}

}  // namespace

void ShowLastBackups(ListForm& form) {
    const FullList& rows = form.CurrentRows().list;
    store::DefinitionList& list = form.Definitions();
    const int sourceColumn = form.CurrentView() == kDestinationView ? kDestinationColumn : 4;
    const bool modified = list.Modified();
    for (int r = 0; r < rows.Count(); ++r) {
        const std::optional<store::BackupEntry> entry =
            list.EntryOf(rows.Cell(r, sourceColumn).toString());
        if (!entry) continue;
        const QString time = entry->lastBackup.Text();
        if (rows.Cell(r, kLastBackupColumn) != time) form.SetCell(r, kLastBackupColumn, time);
    }
    list.SetModified(modified);
}

bool ApplyRegistration(ListForm& form, const store::BackupEntry& entry) {
    if (!form.Definitions().PutEntry(entry)) {
        SayRefused(form, entry);
        return false;
    }
    if (form.CurrentView() != kDriveView) form.MarkDriveRebuild();
    const bool patched = PatchRow(form, entry);
    if (entry.subFolders == store::SubFolders::EachAsEntry) SpreadOverSubFolders(form, entry);
    if (entry.subFolders == store::SubFolders::InOneArchive) GatherSubFolders(form, entry);
    if (form.CurrentView() == kDriveView) return false;
    return !patched || entry.IncludesSubFolders();
}

}  // namespace catalog
