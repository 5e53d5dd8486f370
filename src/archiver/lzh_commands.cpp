#include "archiver/lzh_commands.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <variant>

#include "archiver/archive_target.h"
#include "archiver/lzh_archive.h"
#include "archiver/lzh_stored_name.h"
#include "archiver/lzh_writer.h"
#include "archiver/member_change.h"
#include "archiver/name_codec.h"
#include "archiver/path_resolution.h"
#include "archiver/pattern_match.h"
#include "archiver/return_code.h"
#include "archiver/source_selection.h"
#include "archiver/stored_names.h"
#include "archiver/temp_archive.h"

namespace archiver {
namespace {

int Report(std::string& output, int code, const std::string& text) {
    output = text;
    return code;
}

// The archive as it is before the command: absent, or its members.
struct OldArchive {
    std::filesystem::path path;
    bool exists = false;
    struct stat info {};
    std::unique_ptr<FileInput> input;
    LzhArchiveContents contents;
};

int OpenOldArchive(const std::string& drivePath, OldArchive& old, std::string& output) {
    const std::optional<std::filesystem::path> path = ResolvePath(drivePath);
    if (!path) return Report(output, kPathNotResolved, "cannot resolve " + drivePath);
    old.path = FollowArchiveLinks(*path);
    if (::stat(old.path.c_str(), &old.info) != 0) return kOk;
    old.exists = true;
    std::string error;
    old.input = FileInput::Open(old.path, error);
    if (!old.input) return Report(output, kArchiveDamaged, error);
    old.contents = ReadLzhArchive(*old.input);
    if (old.contents.damaged) {
        return Report(output, kArchiveDamaged, old.path.string() + ": " + old.contents.error);
    }
    return kOk;
}

void PassOverUnstorableNames(std::vector<SourceFile>& files, std::string& partial) {
    std::erase_if(files, [&](const SourceFile& file) {
        if (StorableInLzh(file.path)) return false;
        partial += (partial.empty() ? "" : "; ") + file.hostPath +
                   ": a name with the byte 0xFF cannot be stored in an LZH archive";
        return true;
    });
}

std::optional<std::filesystem::path> ResolveFolder(const std::string& drivePath,
                                                   std::string& output, int& code) {
    const std::optional<std::filesystem::path> folder = ResolvePath(drivePath);
    struct stat info {};
    if (!folder) {
        code = Report(output, kPathNotResolved, "cannot resolve " + drivePath);
    } else if (::stat(folder->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        code = Report(output, kSourceFolderMissing, "no folder " + folder->string());
        return std::nullopt;
    }
    return folder;
}

// CP932 when every name can be written in it, so that older readers show them; else UTF-8.
NameCodePage ChooseCodePage(const std::vector<const std::vector<std::string>*>& paths) {
    for (const std::vector<std::string>* path : paths) {
        for (const std::string& component : *path) {
            // Host names that are not UTF-8 are stored as their bytes, member by member.
            if (IsValidUtf8(component) && !Utf8ToCp932(component)) return NameCodePage::kUtf8;
        }
    }
    return NameCodePage::kCp932;
}

bool IsChanged(const SourceFile& file, const LzhMember& member) {
    return FileChangedSince(
        file, MemberStamp{member.originalSize, member.exactTime, member.unixTime, member.dosTime});
}

// One member of the new archive: copied from the old one, or taken from a file.
using Planned = std::variant<const LzhMember*, const SourceFile*>;

std::uint64_t OriginalSize(const Planned& item) {
    return std::holds_alternative<const LzhMember*>(item)
               ? std::get<const LzhMember*>(item)->originalSize
               : std::get<const SourceFile*>(item)->size;
}

// Readers that know only the 32-bit size fields (lhasa, 7-Zip) misread a member over 4 GB and,
// when its packed data is that large too, lose their way to the members after it: such
// members go last, in their order, so that those readers still find every other member.
std::vector<Planned> WideMembersLast(std::vector<Planned> plan) {
    constexpr std::uint64_t kNarrowLimit = 0xFFFFFFFFull;
    std::stable_partition(plan.begin(), plan.end(),
                          [](const Planned& item) { return OriginalSize(item) <= kNarrowLimit; });
    return plan;
}

int WriteArchive(const OldArchive& old, const std::vector<Planned>& planned, std::string& output) {
    const bool trailer = old.input && old.contents.trailerOffset < old.input->size();
    if (planned.empty() && trailer) {
        // The end byte followed by more bytes does not read as an empty archive: keeping the
        // bytes after the old end would leave a file that no update opens again.
        return Report(output, kWriteFailed,
                      old.path.string() +
                          ": アーカイブの終わりの後ろにデータがあるので、すべてのメンバーを"
                          "削除することはしません");
    }
    const std::vector<Planned> plan = WideMembersLast(planned);
    std::vector<const std::vector<std::string>*> names;
    for (const Planned& item : plan) {
        names.push_back(std::holds_alternative<const LzhMember*>(item)
                            ? &std::get<const LzhMember*>(item)->path
                            : &std::get<const SourceFile*>(item)->path);
    }
    std::string error;
    std::unique_ptr<TempArchive> temp = TempArchive::Create(old.path, error);
    if (!temp) return Report(output, kWriteFailed, error);
    const auto writeFailed = [&] {
        return Report(output, kWriteFailed, old.path.string() + ": " + error);
    };
    LzhWriter writer(temp->file(), ChooseCodePage(names));
    for (const Planned& item : plan) {
        if (std::holds_alternative<const LzhMember*>(item)) {
            if (!writer.CopyMember(*old.input, *std::get<const LzhMember*>(item), error)) {
                return writeFailed();
            }
        } else if (!writer.AddFile(*std::get<const SourceFile*>(item), error)) {
            if (!temp->file().error().empty()) return writeFailed();
            return Report(output, kSourceUnreadable, error);
        }
    }
    if (!writer.Finish(error)) return writeFailed();
    // What followed the old end-of-archive byte is not this program's: it follows the new one.
    if (trailer && !writer.CopyBytes(*old.input, old.contents.trailerOffset,
                                     old.input->size() - old.contents.trailerOffset, error)) {
        return writeFailed();
    }
    if (!temp->Commit(error)) return writeFailed();
    return kOk;
}

int Update(const UnlhaCommand& command, std::string& output) {
    OldArchive old;
    if (const int code = OpenOldArchive(command.archive, old, output)) return code;
    for (const LzhMember& member : old.contents.members) {
        if (member.unsafePath) {
            return Report(output, kUnsafeMemberName,
                          "the archive holds an unsafe name: " + member.DisplayName());
        }
    }
    int code = kOk;
    const std::optional<std::filesystem::path> folder =
        ResolveFolder(command.baseFolder, output, code);
    if (!folder) return code;
    std::string error;
    std::string partial;
    std::optional<std::vector<SourceFile>> files =
        SelectSourceFiles(*folder, command.recursive, command.patterns,
                          old.exists ? &old.info : nullptr, error, partial);
    if (!files) return Report(output, kSourceUnreadable, error);
    PassOverUnstorableNames(*files, partial);

    std::map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < old.contents.members.size(); ++i) {
        const LzhMember& member = old.contents.members[i];
        if (!member.isDirectory()) byName.emplace(JoinPath(member.path), i);
    }
    std::vector<Planned> plan;
    for (const LzhMember& member : old.contents.members) plan.emplace_back(&member);
    std::vector<std::string> keys;
    if (!StoredNamesAreDistinct(*files, ListedPath, keys, error)) {
        return Report(output, kSourceUnreadable, error);
    }
    int added = 0;
    int replaced = 0;
    for (std::size_t i = 0; i < files->size(); ++i) {
        const SourceFile& file = (*files)[i];
        const auto found = byName.find(keys[i]);
        if (found == byName.end()) {
            plan.emplace_back(&file);
            ++added;
        } else if (IsChanged(file, old.contents.members[found->second])) {
            plan[found->second] = &file;
            ++replaced;
        }
    }
    const std::string summary =
        std::to_string(added) + " added, " + std::to_string(replaced) + " replaced";
    if (!old.exists || added != 0 || replaced != 0) {
        if (const int written = WriteArchive(old, plan, output)) return written;
    }
    if (!partial.empty()) return Report(output, kSourceUnreadable, summary + "; " + partial);
    return Report(output, kOk, summary);
}

// The folders and files of a walk under the names the archive lists them by.
struct ListedWalk {
    std::set<std::string> listedFolders;
    std::set<std::string> failedFolders;
    std::set<std::string> files;
};

ListedWalk ListedNames(const FolderWalk& walk) {
    ListedWalk listed;
    for (const std::string& key : walk.listedFolders) {
        listed.listedFolders.insert(ListedPath(walk.folderPaths.at(key)));
    }
    for (const std::string& key : walk.failedFolders) {
        listed.failedFolders.insert(ListedPath(walk.folderPaths.at(key)));
    }
    for (const SourceFile& file : walk.files) listed.files.insert(ListedPath(file.path));
    return listed;
}

// True when the member's file is known to be gone: its nearest folder that the walk reached
// was listed completely and did not hold it.
bool IsMissing(const LzhMember& member, const ListedWalk& walk) {
    if (member.unsafePath) return true;
    const std::string key = JoinPath(member.path);
    if (member.isDirectory()) {
        if (walk.listedFolders.count(key) || walk.failedFolders.count(key)) return false;
    } else if (walk.files.count(key)) {
        return false;
    }
    for (std::size_t depth = member.path.size() - 1;; --depth) {
        const std::vector<std::string> parent(member.path.begin(), member.path.begin() + depth);
        const std::string parentKey = JoinPath(parent);
        if (walk.failedFolders.count(parentKey)) return false;
        if (walk.listedFolders.count(parentKey)) return true;
        if (depth == 0) return false;
    }
}

int DeleteMissing(const UnlhaCommand& command, std::string& output) {
    OldArchive old;
    if (const int code = OpenOldArchive(command.archive, old, output)) return code;
    if (!old.exists) return Report(output, kArchiveMissing, "no archive " + old.path.string());
    int code = kOk;
    const std::optional<std::filesystem::path> folder =
        ResolveFolder(command.baseFolder, output, code);
    if (!folder) return code;
    const FolderWalk walk = WalkFolder(*folder, true);
    if (!walk.rootListed) return Report(output, kSourceUnreadable, walk.error);
    const ListedWalk listed = ListedNames(walk);

    std::vector<Planned> plan;
    int deleted = 0;
    for (const LzhMember& member : old.contents.members) {
        const bool candidate =
            member.path.empty() || MatchesAny(command.patterns, member.path.back());
        if (candidate && IsMissing(member, listed)) {
            ++deleted;
        } else {
            plan.emplace_back(&member);
        }
    }
    const std::string summary = std::to_string(deleted) + " deleted";
    if (deleted == 0) return Report(output, kOk, summary);
    if (const int written = WriteArchive(old, plan, output)) return written;
    return Report(output, kOk, summary);
}

int Test(const UnlhaCommand& command, std::string& output) {
    OldArchive old;
    if (const int code = OpenOldArchive(command.archive, old, output)) return code;
    if (!old.exists) return Report(output, kArchiveMissing, "no archive " + old.path.string());
    // A member of a method this library does not decode is not damaged: it is named apart,
    // and the other members are still checked.
    std::string unchecked;
    std::size_t checked = 0;
    for (const LzhMember& member : old.contents.members) {
        if (!member.method) {
            unchecked += (unchecked.empty() ? "" : "、") + member.DisplayName() + "（" +
                         member.methodId + "）";
            continue;
        }
        std::string error;
        const ByteSink discard = [](const std::uint8_t*, std::size_t) { return true; };
        if (!ExtractLzhMember(*old.input, member, discard, error)) {
            return Report(output, kArchiveDamaged, member.DisplayName() + ": " + error);
        }
        ++checked;
    }
    const std::string summary = std::to_string(checked) + " members OK";
    if (!unchecked.empty()) {
        return Report(output, kMethodNotCheckable,
                      summary + "; この圧縮方式は検査できません：" + unchecked);
    }
    return Report(output, kOk, summary);
}

}  // namespace

int RunUnlhaCommand(const UnlhaCommand& command, std::string& output) {
    switch (command.verb) {
        case UnlhaVerb::kUpdate:
            return Update(command, output);
        case UnlhaVerb::kDeleteMissing:
            return DeleteMissing(command, output);
        case UnlhaVerb::kTest:
            return Test(command, output);
    }
    return kInternalError;
}

}  // namespace archiver
