#pragma once

#include "engine/backup_verify.h"
#include "engine/restore_history.h"
#include "engine/restore_run.h"
#include "platform/path_kinds.h"
#include "store/backup_entry.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace engine {
class Engine;
}

namespace catalog {

namespace grid {
struct GridState;
}

class CatalogModel;

// ファイル → バックアップから復元, 以前の版, 日時を指定して復元 and バックアップの
// 照合, without the window: the registration of the folder the file grid lists,
// restored from its backup (whole, or the files chosen in the file grid) or
// checked against it. The window shows the dialogs and the summary.

inline const QString kRestoreTitle = QStringLiteral("バックアップから復元");
inline const QString kVerifyTitle = QStringLiteral("バックアップの照合");

// What the person chose in the versions window.
struct VersionChoice {
    enum class Kind { None, Version, AsOf };
    Kind kind = Kind::None;
    std::size_t index = 0;  // Version: which of the versions shown
    QDateTime at;           // AsOf: the local time whose state is restored
};

// The registration holding the folder the file grid lists, and where that
// folder lies in it.
struct ListedRegistration {
    store::BackupEntry entry;
    QString below;  // "\"-separated below the registered folder; "" for the folder itself

    // "\"-separated below the registered folder, of a file of the listed folder.
    QString NameOf(const QString& fileName) const;
};

// The registration of `listed`; when none holds it the person is told
// (through util::Messages()) and nothing is given.
std::optional<ListedRegistration> RegistrationOfListed(const CatalogModel& model,
                                                       const platform::DrivePath& listed);

// The current file of the file grid and the marked ones, by name.
QStringList ChosenFiles(const grid::GridState& files);

// What a restore asks of the person and of the window around it.
class RestoreDialogs {
  public:
    // Where the files of `folder` go: nothing when cancelled, an empty path
    // for `folder` itself, else another folder.
    virtual std::optional<platform::HostPath> ChooseTarget(const platform::DrivePath& folder) = 0;
    // The question before a file that differs from its backup is replaced.
    virtual engine::RestoreQuestions& ReplaceQuestions() = 0;
    // The window's run: BeginRun is false when another run goes on (nothing
    // is done); EndRun is false when the window closes at the run's end
    // (nothing more is told).
    virtual bool BeginRun() = 0;
    virtual bool EndRun() = 0;

  protected:
    ~RestoreDialogs() = default;
};

// What a restore puts back.
struct RestoreSelection {
    // True: the files `files` of the listed folder (every file below it when
    // empty), into that folder; false: the whole registration, into its
    // source folder.
    bool listedFiles = false;
    QStringList files;  // names in the listed folder
    // Each file as it was at this time, from the backup or its history.
    std::optional<QDateTime> at;
    // This one version of the one file of `files`, written where that file is now.
    std::optional<engine::RestoreItem> version;
};

// Asks where the files go, then restores them from the backup with the
// engine's progress window, a differing file replaced only when the person
// says so. The lines of the summary window; nothing when the person
// cancelled, the run did not start, or the window closes at its end.
std::optional<QStringList> RestoreListed(engine::Engine& engine, const ListedRegistration& shown,
                                         const platform::DrivePath& listed,
                                         const RestoreSelection& selection,
                                         RestoreDialogs& dialogs);

// The versions of the file `fileName` of the listed folder: the backup's and
// those its history keeps, newest first (the hourglass shown while they are
// read); none when the backup is not found.
std::vector<engine::FileVersion> VersionsOfListedFile(engine::Engine& engine,
                                                      const ListedRegistration& shown,
                                                      const platform::DrivePath& listed,
                                                      const QString& fileName);

// The lines of a restore's summary window: where from and where to, the
// counts, then each kept, failed, refused and unread file.
QStringList RestoreReportLines(const engine::RestorePlan& plan,
                               const engine::RestoreSummary& summary,
                               const platform::HostPath& target);

// The registration's backup compared with its source, byte for byte: the
// lines of the check's window.
QStringList VerifyReportLines(engine::Engine& engine, const store::BackupEntry& entry);

// One difference as the check's window words it.
QString DifferenceLine(const engine::Difference& difference);

}  // namespace catalog
