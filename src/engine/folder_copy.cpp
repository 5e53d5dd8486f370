#include "engine/folder_copy.h"

#include "engine/backup_times.h"
#include "platform/attributes.h"
#include "platform/host_path.h"
#include "util/file_ops.h"
#include "util/name_list.h"
#include "util/path_names.h"
#include "util/text_case.h"

#include <QFile>
#include <QHash>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace engine {
namespace {

using platform::FoundEntry;

// The mouse pointer is the hourglass while a folder level is copied.
class BusyCursor {
  public:
    explicit BusyCursor(EngineUi& ui) : ui_(ui) { ui_.SetBusyCursor(true); }
    ~BusyCursor() { ui_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    EngineUi& ui_;
};

// The files of the destination folder, found by name the way Windows finds
// them: an exact name first, else the same name in other ASCII case.
class DestinationFiles {
  public:
    explicit DestinationFiles(const QList<FoundEntry>& entries) {
        for (const FoundEntry& entry : entries) {
            if (entry.isFolder) continue;
            exact_.insert(entry.name, entry);
            folded_.insert(util::AsciiUpper(entry.name), entry.name);
        }
    }
    std::optional<FoundEntry> Find(const QString& name) const {
        if (const auto it = exact_.find(name); it != exact_.end()) return *it;
        if (const auto it = folded_.find(util::AsciiUpper(name)); it != folded_.end()) {
            return exact_.value(*it);
        }
        return std::nullopt;
    }
    // Forgets the file a source name stands for; what remains has no source.
    void Claim(const QString& name) {
        const std::optional<FoundEntry> entry = Find(name);
        if (!entry) return;
        exact_.remove(entry->name);
        folded_.remove(util::AsciiUpper(entry->name), entry->name);
    }
    QStringList Remaining() const { return exact_.keys(); }

  private:
    QHash<QString, FoundEntry> exact_;
    QMultiHash<QString, QString> folded_;
};

// Creates the destination folder, one level only; an error text on failure.
std::optional<QString> MakeOneLevel(const QString& folder) {
    const auto host = platform::ToHostPath(folder);
    if (!host) return QStringLiteral("パスが見つかりません：　") + folder;
    if (mkdir(QFile::encodeName(*host).constData(), 0777) == 0 || errno == EEXIST)
        return std::nullopt;
    return QString::fromLocal8Bit(std::strerror(errno)) + QStringLiteral("\nフォルダー：　") +
           folder;
}

bool AskToReplaceWithOlder(Engine& engine, const QString& sourceFile, qint64 sourceNs,
                           const QString& target, qint64 targetNs) {
    OlderFileQuestion question;
    question.fileName = util::FileNameOf(sourceFile);
    question.sourceFolder = util::ParentPath(sourceFile);
    question.sourceTimeNs = sourceNs;
    question.backupFolder = util::ParentPath(target);
    question.backupTimeNs = targetNs;
    return engine.Ui().AskOlderFile(question) == util::kAnswerYes;
}

void CopyKnownFile(Engine& engine, const QString& sourceFile, const FoundEntry& source,
                   const QString& destinationFolder, const std::optional<FoundEntry>& existing,
                   bool destinationOnFat) {
    const QString target = util::JoinPath(destinationFolder, source.name);
    if (existing) {
        switch (CompareToBackup(source.modifiedNs, existing->modifiedNs, destinationOnFat)) {
            case TimeOrder::Same:
                return;
            case TimeOrder::Older:
                if (!AskToReplaceWithOlder(engine, sourceFile, source.modifiedNs, target,
                                           existing->modifiedNs)) {
                    return;
                }
                break;
            case TimeOrder::Newer:
                break;
        }
    }
    EngineUi& ui = engine.Ui();
    const util::CopyResult result =
        util::CopyOneFile(sourceFile, target, [&ui](qint64 done, qint64 total) {
            ui.SetFileProgress(done, total);
            ui.LetEventsRun();
        });
    if (result.copied) engine.CountFile();
}

bool DestinationOnFat(const QString& folder) {
    const auto host = platform::ToHostPath(folder);
    return host && platform::OnFatFileSystem(*host);
}

}  // namespace

void CopyFileIfNewer(Engine& engine, const QString& sourceFile, const QString& destinationFolder) {
    const auto found = platform::SearchDirectory(sourceFile).entries;
    if (found.isEmpty() || found.first().isFolder) return;
    const auto targetFound =
        platform::SearchDirectory(util::JoinPath(destinationFolder, found.first().name)).entries;
    std::optional<FoundEntry> existing;
    if (!targetFound.isEmpty() && !targetFound.first().isFolder) existing = targetFound.first();
    CopyKnownFile(engine, sourceFile, found.first(), destinationFolder, existing,
                  DestinationOnFat(destinationFolder));
}

bool CopyFolder(Engine& engine, const QString& source, const QString& destination,
                bool withSubFolders, bool deleteMissing) {
    EngineUi& ui = engine.Ui();
    ui.SetSourceText(source);
    ui.SetDestinationText(destination);
    ui.LetEventsRun();
    if (!util::FolderExists(source)) return false;

    BusyCursor busy(ui);
    if (!util::FolderExists(destination)) {
        if (const auto error = MakeOneLevel(destination)) {
            ui.StandardMessage(*error, util::Buttons::Ok, util::kAnswerOk);
            return false;
        }
    }
    const platform::SearchResult listing = util::ListFolder(source);
    engine.AddPassedOverNames(listing.passedOver);
    DestinationFiles destinationFiles(util::ListFolder(destination).entries);
    const bool onFat = DestinationOnFat(destination);

    QStringList folders;
    for (const FoundEntry& entry : listing.entries) {
        if (entry.isFolder) {
            folders.append(entry.name);
            continue;
        }
        const std::optional<FoundEntry> existing = destinationFiles.Find(entry.name);
        destinationFiles.Claim(entry.name);
        CopyKnownFile(engine, util::JoinPath(source, entry.name), entry, destination, existing,
                      onFat);
        ui.LetEventsRun();
        if (engine.AbortRequested()) return false;
    }
    // Deleting backups is the one step that destroys data on purpose: only
    // when the source listing was read to its end.
    if (deleteMissing && listing.complete) {
        for (const QString& name : destinationFiles.Remaining()) {
            util::DeleteOneFile(util::JoinPath(destination, name));
        }
    }
    if (withSubFolders) {
        for (const QString& name : folders) {
            CopyFolder(engine, util::JoinPath(source, name), util::JoinPath(destination, name),
                       withSubFolders, deleteMissing);
            if (engine.AbortRequested()) return false;
        }
    }
    if (!listing.complete) {
        ui.StandardMessage(listing.error + QStringLiteral("\nフォルダー：　") + source,
                           util::Buttons::Ok, util::kAnswerOk);
        return false;
    }
    return true;
}

}  // namespace engine
