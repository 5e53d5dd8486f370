#include "engine/folder_changed.h"

#include "platform/host_path.h"
#include "util/file_ops.h"
#include "util/name_list.h"
#include "util/numbers.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <QDateTime>

#include <functional>

namespace engine {
namespace {

// Decides whether a file may have changed since the last backup.
using IsLater = std::function<bool(qint64 modifiedNs)>;

IsLater LaterThan(const store::BackupTime& lastBackup) {
    if (const std::optional<QDateTime> last = lastBackup.When()) {
        // The stored time keeps only the minute, and a file saved later in
        // that same minute is newer than the backup: the whole stored minute
        // counts as changed. The price is one more look at an entry whose
        // files were edited in the minute of its backup, which finds them
        // unchanged. Comparing numbers spares formatting every file.
        const qint64 threshold = last->toSecsSinceEpoch();
        return [threshold](qint64 ns) { return ns / 1'000'000'000 >= threshold; };
    }
    // "Never" (blanks) or a hand-edited text: compare the texts themselves.
    return [text = lastBackup.Text()](qint64 ns) {
        return util::FormatDateTime(QDateTime::fromMSecsSinceEpoch(ns / 1'000'000)) > text;
    };
}

bool ChangedBelow(const platform::HostPath& folder, const IsLater& isLater, bool withSubFolders) {
    static const QString kThumbs = QStringLiteral("THUMBS.DB");
    const auto listing = platform::SearchHostFolder(folder, QStringLiteral("*.*"),
                                                    platform::SearchDetail::NoFatBits);
    // A folder that is there but could not be read in full may hide a change:
    // the entry runs, and fails visibly, rather than being passed over.
    if (!listing.complete && platform::LookAtHostPath(folder) == platform::HostLook::Kind::Folder) {
        return true;
    }
    for (const auto& entry : listing.entries) {
        if (!entry.isFolder && isLater(entry.modifiedNs) &&
            util::AsciiUpper(entry.name) != kThumbs) {
            return true;
        }
    }
    if (!withSubFolders) return false;
    for (const auto& entry : listing.entries) {
        if (entry.isFolder && ChangedBelow(folder.Below(entry.name), isLater, true)) return true;
    }
    return false;
}

}  // namespace

bool FolderChangedSince(const platform::DrivePath& folder, const store::BackupTime& lastBackup,
                        bool withSubFolders) {
    // A source that cannot be reached (not there, its drive missing) is no
    // proof that nothing changed: the entry runs, and fails saying why.
    const std::optional<platform::HostPath> host =
        folder.text().size() > 3     ? util::ExistingFolder(folder)
        : util::FolderExists(folder) ? platform::ToHostPath(folder)
                                     : std::nullopt;
    if (!host) return true;
    return ChangedBelow(*host, LaterThan(lastBackup), withSubFolders);
}

}  // namespace engine
