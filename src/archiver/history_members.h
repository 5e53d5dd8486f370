// Keeping the members an update is about to replace or delete: they are copied as they are
// (their packed data byte for byte, never decoded or compressed again) into an archive of
// the same kind, which any reader of that kind opens.
#pragma once

#include <filesystem>
#include <string>

namespace archiver {

enum class HistoryKind { kLzh, kZip };

struct HistoryRequest {
    HistoryKind kind = HistoryKind::kLzh;
    std::filesystem::path archive;     // the archive about to be updated
    std::filesystem::path baseFolder;  // the folder it is updated from
    bool recursive = false;
    bool deleteMissing = false;     // members whose file is gone go too
    std::filesystem::path history;  // the archive to write; must not exist yet
};

struct HistoryResult {
    bool ok = false;
    int members = 0;  // members copied; 0: nothing to keep, and no archive written
    std::string error;
};

// Copies the members whose file changed (another size or newer, as the update decides)
// and, with deleteMissing, those whose file is gone. The history archive is written under a
// temporary name and renamed into place complete. A missing archive keeps nothing.
HistoryResult KeepMembersToBeReplaced(const HistoryRequest& request);

// After an LZH update, where `history` is a second name (a hard link) of the archive as it
// was before: rewrites `history` to hold only the members the update replaced or deleted (a
// member of the old archive that the new one does not hold with the same name, size, time and
// CRC), or removes it when there are none. Until it is rewritten, `history` holds every old
// member, so a crash in between loses nothing.
HistoryResult ShrinkLzhHistory(const std::filesystem::path& history,
                               const std::filesystem::path& archive);
// The same for a ZIP archive (the same name, size, time and CRC-32).
HistoryResult ShrinkZipHistory(const std::filesystem::path& history,
                               const std::filesystem::path& archive);

}  // namespace archiver
