#include "archiver/history_members.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "archiver/folder_walker.h"
#include "archiver/lzh_archive.h"
#include "archiver/lzh_writer.h"
#include "archiver/member_change.h"
#include "archiver/name_codec.h"
#include "archiver/random_access_input.h"
#include "archiver/temp_archive.h"
#include "archiver/zip_archive_handle.h"
#include "archiver/zip_entries.h"
#include "archiver/zip_layout.h"
#include "archiver/zip_writer.h"

namespace archiver {
namespace {

// Member names compared the way a person reads them: either separator, ASCII case folded.
std::string Key(std::string name) {
    std::replace(name.begin(), name.end(), '/', '\\');
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

class SourceFiles {
  public:
    SourceFiles(const std::filesystem::path& folder, bool recursive)
        : walk_(WalkFolder(folder, recursive)) {
        for (const SourceFile& file : walk_.files) byKey_.emplace(Key(JoinPath(file.path)), &file);
    }
    // Whether the member named `name` with `stamp` is about to be replaced or deleted.
    bool Replaces(const std::string& name, const MemberStamp& stamp, bool deleteMissing) const {
        const auto found = byKey_.find(Key(name));
        if (found == byKey_.end()) return deleteMissing && GoneFor(name);
        return FileChangedSince(*found->second, stamp);
    }

  private:
    // A file is gone only where its folder was read in full.
    bool GoneFor(const std::string& name) const {
        std::string key = Key(name);
        const std::size_t slash = key.rfind('\\');
        const std::string folder = slash == std::string::npos ? "" : key.substr(0, slash);
        for (const std::string& failed : walk_.failedFolders) {
            if (Key(failed) == folder) return false;
        }
        return walk_.rootListed;
    }

    FolderWalk walk_;
    std::map<std::string, const SourceFile*> byKey_;
};

// As the update chooses: CP932 when every name can be written in it, so that older readers
// show them; else UTF-8.
NameCodePage CodePageOf(const std::vector<const LzhMember*>& members) {
    for (const LzhMember* member : members) {
        for (const std::string& component : member->path) {
            if (IsValidUtf8(component) && !Utf8ToCp932(component)) return NameCodePage::kUtf8;
        }
    }
    return NameCodePage::kCp932;
}

HistoryResult KeepLzh(const HistoryRequest& request, const SourceFiles& files) {
    HistoryResult result;
    std::unique_ptr<FileInput> input = FileInput::Open(request.archive, result.error);
    if (!input) return result;
    const LzhArchiveContents contents = ReadLzhArchive(*input);
    std::vector<const LzhMember*> kept;
    for (const LzhMember& member : contents.members) {
        if (member.isDirectory()) continue;
        const MemberStamp stamp{member.originalSize, member.exactTime, member.unixTime,
                                member.dosTime};
        if (files.Replaces(JoinPath(member.path), stamp, request.deleteMissing)) {
            kept.push_back(&member);
        }
    }
    result.ok = true;
    if (kept.empty()) return result;
    std::unique_ptr<TempArchive> temp = TempArchive::Create(request.history, result.error);
    if (!temp) return {false, 0, result.error};
    LzhWriter writer(temp->file(), CodePageOf(kept));
    for (const LzhMember* member : kept) {
        if (!writer.CopyMember(*input, *member, result.error)) return {false, 0, result.error};
    }
    if (!writer.Finish(result.error) || !temp->Commit(result.error)) {
        return {false, 0, result.error};
    }
    result.members = static_cast<int>(kept.size());
    return result;
}

// A ZIP archive's members: where each lies (`layout.records[i]`) and what it holds
// (`entries[i]`), read from one open file.
struct ZipMembers {
    std::unique_ptr<FileInput> input;
    ZipLayout layout;
    std::vector<ZipEntry> entries;
};

bool ReadZipMembers(const std::filesystem::path& path, ZipMembers& zip, std::string& error) {
    zip.input = FileInput::Open(path, error);
    if (!zip.input) return false;
    if (!ReadZipLayout(*zip.input, zip.layout, error)) {
        error = path.string() + ": " + error;
        return false;
    }
    bool opened = false;
    if (!ReadZipEntriesBySlice(
            *zip.input, zip.layout, path,
            [&](std::size_t, const std::vector<ZipEntry>& entries, zip_t*) {
                zip.entries.insert(zip.entries.end(), entries.begin(), entries.end());
            },
            opened, error)) {
        if (opened) error = path.string() + ": " + error;
        return false;
    }
    if (zip.entries.size() != zip.layout.records.size()) {
        error = path.string() + ": 中央ディレクトリの読み方が一つに定まりません";
        return false;
    }
    return true;
}

// Writes the members `kept` of `zip`, each copied byte for byte, into a new archive at
// `target` (under a temporary name, renamed into place complete).
HistoryResult WriteZipMembers(const ZipMembers& zip, const std::vector<std::size_t>& kept,
                              const std::filesystem::path& target) {
    HistoryResult result;
    std::unique_ptr<TempArchive> temp = TempArchive::Create(target, result.error);
    if (!temp) return result;
    ZipWriter writer(temp->file());
    std::vector<std::vector<std::uint8_t>> central(kept.size());
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (!writer.CopyMember(*zip.input, zip.layout, kept[k], central[k], result.error)) {
            return {false, 0, target.string() + ": " + result.error};
        }
    }
    ZipLayout fresh;  // no comment, no zip64 end records unless they are needed
    if (!writer.Finish(central, fresh, result.error) || !temp->Commit(result.error)) {
        return {false, 0, target.string() + ": " + result.error};
    }
    return {true, static_cast<int>(kept.size()), {}};
}

HistoryResult KeepZip(const HistoryRequest& request, const SourceFiles& files) {
    ZipMembers old;
    std::string error;
    if (!ReadZipMembers(request.archive, old, error)) return {false, 0, error};
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < old.entries.size(); ++i) {
        const ZipEntry& entry = old.entries[i];
        if (entry.isDirectory || entry.name.empty()) continue;
        const MemberStamp stamp{entry.originalSize, entry.exactTime, entry.unixTime, entry.dosTime};
        if (files.Replaces(entry.name, stamp, request.deleteMissing)) kept.push_back(i);
    }
    if (kept.empty()) return {true, 0, {}};
    std::error_code ignored;
    if (std::filesystem::exists(request.history, ignored)) {
        return {false, 0, request.history.string() + ": already exists"};
    }
    return WriteZipMembers(old, kept, request.history);
}

// A member the same in two archives: the same name as stored, size, CRC-32 and time.
std::string SameZipMemberKey(const ZipMembers& zip, std::size_t i) {
    const ZipEntry& entry = zip.entries[i];
    return zip.layout.RawName(i) + '\0' + std::to_string(entry.originalSize) + '\0' +
           std::to_string(entry.crc) + '\0' + std::to_string(entry.unixTime);
}

std::string SameMemberKey(const LzhMember& member) {
    return Key(JoinPath(member.path)) + '\0' + member.methodId + '\0' +
           std::to_string(member.originalSize) + '\0' + std::to_string(member.packedSize) + '\0' +
           std::to_string(member.crc) + '\0' + std::to_string(member.unixTime);
}

}  // namespace

HistoryResult ShrinkLzhHistory(const std::filesystem::path& history,
                               const std::filesystem::path& archive) {
    HistoryResult result;
    std::unique_ptr<FileInput> oldFile = FileInput::Open(history, result.error);
    if (!oldFile) return result;
    const FileInput& oldInput = *oldFile;
    const LzhArchiveContents old = ReadLzhArchive(oldInput);
    std::set<std::string> now;
    std::string error;
    if (std::unique_ptr<FileInput> newFile = FileInput::Open(archive, error)) {
        const FileInput& newInput = *newFile;
        for (const LzhMember& member : ReadLzhArchive(newInput).members) {
            now.insert(SameMemberKey(member));
        }
    }
    std::vector<const LzhMember*> kept;
    for (const LzhMember& member : old.members) {
        if (!member.isDirectory() && !now.contains(SameMemberKey(member))) kept.push_back(&member);
    }
    result.ok = true;
    std::error_code removed;
    if (kept.empty()) {
        std::filesystem::remove(history, removed);
        return result;
    }
    std::unique_ptr<TempArchive> temp = TempArchive::Create(history, result.error);
    if (!temp) return {false, 0, result.error};
    LzhWriter writer(temp->file(), CodePageOf(kept));
    for (const LzhMember* member : kept) {
        if (!writer.CopyMember(*oldFile, *member, result.error)) return {false, 0, result.error};
    }
    if (!writer.Finish(result.error) || !temp->Commit(result.error)) {
        return {false, 0, result.error};
    }
    result.members = static_cast<int>(kept.size());
    return result;
}

HistoryResult ShrinkZipHistory(const std::filesystem::path& history,
                               const std::filesystem::path& archive) {
    ZipMembers old;
    std::string error;
    if (!ReadZipMembers(history, old, error)) return {false, 0, error};
    std::set<std::string> now;
    ZipMembers current;
    if (ReadZipMembers(archive, current, error)) {
        for (std::size_t i = 0; i < current.entries.size(); ++i) {
            now.insert(SameZipMemberKey(current, i));
        }
    }
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < old.entries.size(); ++i) {
        if (!old.entries[i].isDirectory && !now.contains(SameZipMemberKey(old, i))) {
            kept.push_back(i);
        }
    }
    std::error_code ignored;
    if (kept.empty()) {
        std::filesystem::remove(history, ignored);
        return {true, 0, {}};
    }
    return WriteZipMembers(old, kept, history);
}

HistoryResult KeepMembersToBeReplaced(const HistoryRequest& request) {
    std::error_code error;
    if (!std::filesystem::exists(request.archive, error)) return {true, 0, {}};
    const SourceFiles files(request.baseFolder, request.recursive);
    return request.kind == HistoryKind::kLzh ? KeepLzh(request, files) : KeepZip(request, files);
}

}  // namespace archiver
