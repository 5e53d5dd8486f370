#include "archiver/lzh_commands.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string_view>

#include "archiver/archive_target.h"
#include "archiver/folder_walker.h"
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

// What an update needs of each old member, the names of all in one buffer: an archive of many
// small members would otherwise hold a record and strings of their own for each.
class OldMembers {
  public:
    void Add(const LzhMember& member) {
        Record record;
        record.headerOffset = member.headerOffset;
        record.end = member.dataOffset + member.packedSize;
        record.originalSize = member.originalSize;
        record.unixTime = member.unixTime;
        record.nameAt = names_.size();
        record.dosTime = member.dosTime;
        record.exactTime = member.exactTime;
        record.directory = member.isDirectory();
        record.unsafe = member.unsafePath;
        record.noPath = member.path.empty();
        // No component holds "/": the reader splits names there.
        for (std::size_t i = 0; i < member.path.size(); ++i) {
            if (i > 0) names_ += '/';
            names_ += member.path[i];
        }
        records_.push_back(record);
    }
    void Trim() {
        names_.shrink_to_fit();
        records_.shrink_to_fit();
    }

    std::size_t size() const { return records_.size(); }
    // Its components "/"-joined.
    std::string_view Name(std::size_t i) const {
        const std::uint64_t end = i + 1 < records_.size() ? records_[i + 1].nameAt : names_.size();
        return std::string_view(names_).substr(records_[i].nameAt, end - records_[i].nameAt);
    }
    // As LzhMember::DisplayName.
    std::string DisplayName(std::size_t i) const {
        std::string name(Name(i));
        std::replace(name.begin(), name.end(), '/', '\\');
        if (records_[i].directory) name += '\\';
        return name;
    }
    std::vector<std::string> Components(std::size_t i) const {
        if (records_[i].noPath) return {};
        return SplitAtSlashes(Name(i));
    }
    bool IsDirectory(std::size_t i) const { return records_[i].directory; }
    bool IsUnsafe(std::size_t i) const { return records_[i].unsafe; }
    std::uint64_t OriginalSize(std::size_t i) const { return records_[i].originalSize; }
    MemberStamp Stamp(std::size_t i) const {
        const Record& record = records_[i];
        return MemberStamp{record.originalSize, record.exactTime, record.unixTime, record.dosTime};
    }
    // Header and packed data, as they lie in the archive.
    std::uint64_t SpanStart(std::size_t i) const { return records_[i].headerOffset; }
    std::uint64_t SpanSize(std::size_t i) const {
        return records_[i].end - records_[i].headerOffset;
    }

  private:
    struct Record {
        std::uint64_t headerOffset = 0;
        std::uint64_t end = 0;
        std::uint64_t originalSize = 0;
        std::int64_t unixTime = 0;
        std::uint64_t nameAt = 0;  // its name runs to the next record's
        DosDateTime dosTime;
        bool exactTime = false;
        bool directory = false;
        bool unsafe = false;
        bool noPath = false;  // not even one empty component
    };
    std::string names_;
    std::vector<Record> records_;
};

// The archive as it is before the command: absent, or its members.
struct OldArchive {
    std::filesystem::path path;
    bool exists = false;
    struct stat info {};
    std::unique_ptr<FileInput> input;
    LzhArchiveContents contents;  // `members` only when asked for
    OldMembers table;             // only when asked for
};

// Whole LzhMember records (to decode members), or only what an update needs of them.
enum class Read { kMembers, kTable };

int OpenOldArchive(const std::string& drivePath, OldArchive& old, std::string& output, Read read) {
    const std::optional<std::filesystem::path> path = ResolvePath(drivePath);
    if (!path) return Report(output, kPathNotResolved, "cannot resolve " + drivePath);
    old.path = FollowArchiveLinks(*path);
    if (::stat(old.path.c_str(), &old.info) != 0) return kOk;
    old.exists = true;
    std::string error;
    old.input = FileInput::Open(old.path, error);
    if (!old.input) return Report(output, kArchiveDamaged, error);
    if (read == Read::kMembers) {
        old.contents = ReadLzhArchive(*old.input);
    } else {
        old.contents =
            ScanLzhArchive(*old.input, [&](LzhMember& member) { old.table.Add(member); });
        old.table.Trim();
    }
    if (old.contents.damaged) {
        return Report(output, kArchiveDamaged, old.path.string() + ": " + old.contents.error);
    }
    return kOk;
}

void PassOverUnstorableNames(SourceFileList& files, std::vector<std::string>& passedOver) {
    files.KeepIf([&](std::size_t i) {
        // "/" is never 0xFF: the joined path holds the byte exactly when a component does.
        if (files.RelativePath(i).find('\xFF') == std::string_view::npos) return true;
        passedOver.push_back(files.HostPath(i) +
                             ": a name with the byte 0xFF cannot be stored in an LZH archive");
        return false;
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

// Whether a name of "/"-joined components needs UTF-8: CP932 is chosen when every name can
// be written in it, so that older readers show them.
bool NeedsUtf8(std::string_view name) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = name.find('/', start);
        const std::string component(
            name.substr(start, slash == std::string_view::npos ? slash : slash - start));
        // Host names that are not UTF-8 are stored as their bytes, member by member.
        if (IsValidUtf8(component) && !Utf8ToCp932(component)) return true;
        if (slash == std::string_view::npos) return false;
        start = slash + 1;
    }
}

constexpr std::uint32_t kKeep = 0xFFFFFFFF;
constexpr std::uint32_t kDrop = 0xFFFFFFFE;

// The members of the new archive: each old member kept, dropped or replaced by a file, then
// the files added, in the order they were found.
struct Plan {
    std::vector<std::uint32_t> members;  // kKeep, kDrop or the file in its place
    std::vector<std::uint32_t> added;
};

// Calls `item(fromFile, index)` for each member of the new archive in its order. Readers that
// know only the 32-bit size fields (lhasa, 7-Zip) misread a member over 4 GB and, when its
// packed data is that large too, lose their way to the members after it: such members go
// last, in their order, so that those readers still find every other member.
template <typename Item>
bool ForEachPlanned(const OldArchive& old, const Plan& plan, const SourceFileList* files,
                    Item item) {
    constexpr std::uint64_t kNarrowLimit = 0xFFFFFFFFull;
    for (const bool wide : {false, true}) {
        for (std::size_t i = 0; i < plan.members.size(); ++i) {
            const std::uint32_t with = plan.members[i];
            if (with == kDrop) continue;
            const bool fromFile = with != kKeep;
            const std::uint64_t size = fromFile ? files->Size(with) : old.table.OriginalSize(i);
            if ((size > kNarrowLimit) != wide) continue;
            if (!item(fromFile, fromFile ? with : static_cast<std::uint32_t>(i))) return false;
        }
        for (const std::uint32_t file : plan.added) {
            if ((files->Size(file) > kNarrowLimit) != wide) continue;
            if (!item(true, file)) return false;
        }
    }
    return true;
}

// Whether bytes of another tool follow the old archive's end byte.
bool HasTrailer(const OldArchive& old) {
    return old.input && old.contents.trailerOffset < old.input->size();
}

// Writes the planned members into the new archive and puts it in the old one's place.
int WriteMembers(TempArchive& temp, const OldArchive& old, const Plan& plan,
                 const SourceFileList* files, bool utf8, std::string& output) {
    std::string error;
    const auto writeFailed = [&] {
        return Report(output, kWriteFailed, old.path.string() + ": " + error);
    };
    LzhWriter writer(temp.file(), utf8 ? NameCodePage::kUtf8 : NameCodePage::kCp932);
    int code = kOk;
    ForEachPlanned(old, plan, files, [&](bool fromFile, std::uint32_t index) {
        if (!fromFile) {
            // A kept member is copied as it was read, header included: its level, OS id,
            // attribute and extension headers belong to the tool that wrote it.
            if (writer.CopyBytes(*old.input, old.table.SpanStart(index), old.table.SpanSize(index),
                                 error)) {
                return true;
            }
            code = writeFailed();
        } else if (writer.AddFile(files->At(index), error)) {
            return true;
        } else if (!temp.file().error().empty()) {
            code = writeFailed();
        } else {
            code = Report(output, kSourceUnreadable, error);
        }
        return false;
    });
    if (code != kOk) return code;
    if (!writer.Finish(error)) return writeFailed();
    // What followed the old end-of-archive byte is not this program's: it follows the new one.
    if (HasTrailer(old) &&
        !writer.CopyBytes(*old.input, old.contents.trailerOffset,
                          old.input->size() - old.contents.trailerOffset, error)) {
        return writeFailed();
    }
    if (!temp.Commit(error)) return writeFailed();
    return kOk;
}

int WriteArchive(const OldArchive& old, const Plan& plan, const SourceFileList* files,
                 CommandResult& result) {
    std::string& output = result.message;
    const bool empty =
        plan.added.empty() && std::all_of(plan.members.begin(), plan.members.end(),
                                          [](std::uint32_t with) { return with == kDrop; });
    if (empty && HasTrailer(old)) {
        // The end byte followed by more bytes does not read as an empty archive: keeping the
        // bytes after the old end would leave a file that no update opens again.
        return Report(output, kWriteFailed,
                      old.path.string() +
                          ": アーカイブの終わりの後ろにデータがあるので、すべてのメンバーを"
                          "削除することはしません");
    }
    bool utf8 = false;
    ForEachPlanned(old, plan, files, [&](bool fromFile, std::uint32_t index) {
        utf8 = NeedsUtf8(fromFile ? files->RelativePath(index) : old.table.Name(index));
        return !utf8;
    });
    std::string error;
    std::unique_ptr<TempArchive> temp = TempArchive::Create(old.path, error);
    if (!temp) return Report(output, kWriteFailed, error);
    const int code = WriteMembers(*temp, old, plan, files, utf8, output);
    result.diskFull = temp->file().diskFull();
    return code;
}

// The listed name, "/"-joined, of a file whose path is not all UTF-8.
std::string OddListedName(const std::vector<std::string>& path) {
    std::string name = ListedPath(path);
    // The listed path holds no "/": its "\\" are those between components, or bytes of a
    // component that no reading separates, and turn into "/" alike on both sides.
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

int Update(const UnlhaCommand& command, CommandResult& result) {
    std::string& output = result.message;
    OldArchive old;
    if (const int code = OpenOldArchive(command.archive, old, output, Read::kTable)) return code;
    const OldMembers& members = old.table;
    for (std::size_t i = 0; i < members.size(); ++i) {
        if (members.IsUnsafe(i)) {
            return Report(output, kUnsafeMemberName,
                          "the archive holds an unsafe name: " + members.DisplayName(i));
        }
    }
    int code = kOk;
    const std::optional<std::filesystem::path> folder =
        ResolveFolder(command.baseFolder, output, code);
    if (!folder) return code;
    std::string error;
    std::vector<std::string> passedOver;
    std::optional<SourceFileList> files =
        SelectSourceFiles(*folder, command.recursive, command.patterns,
                          old.exists ? &old.info : nullptr, error, passedOver);
    if (!files) return Report(output, kSourceUnreadable, error);
    PassOverUnstorableNames(*files, passedOver);

    const ListedFiles listed(*files, OddListedName);
    if (!listed.Distinct('\\', error)) return Report(output, kSourceUnreadable, error);
    const auto memberName = [&](std::uint32_t i) { return members.Name(i); };
    Plan plan;
    plan.members.assign(members.size(), kKeep);
    int replaced = 0;
    {
        const std::vector<std::uint32_t> sorted = SortMembers(
            members.size(), [&](std::uint32_t i) { return !members.IsDirectory(i); }, memberName);
        MatchFiles(listed, sorted, memberName, [&](std::uint32_t file, std::uint32_t member) {
            if (member == kNoMember) {
                plan.added.push_back(file);
            } else if (FileChangedSince(files->Size(file), files->ModifiedTime(file),
                                        members.Stamp(member))) {
                plan.members[member] = file;
                ++replaced;
            }
        });
    }
    // Added in the order they were found.
    std::sort(plan.added.begin(), plan.added.end());
    const auto added = static_cast<int>(plan.added.size());
    const std::string summary =
        std::to_string(added) + " added, " + std::to_string(replaced) + " replaced";
    if (!old.exists || added != 0 || replaced != 0) {
        if (const int written = WriteArchive(old, plan, &*files, result)) return written;
    }
    result.counts.added = added;
    result.counts.replaced = replaced;
    if (!passedOver.empty()) return ReportPassedOver(result, summary, std::move(passedOver));
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
bool IsMissing(const std::vector<std::string>& path, bool directory, bool unsafe,
               const ListedWalk& walk) {
    if (unsafe) return true;
    const std::string key = JoinPath(path);
    if (directory) {
        if (walk.listedFolders.count(key) || walk.failedFolders.count(key)) return false;
    } else if (walk.files.count(key)) {
        return false;
    }
    for (std::size_t depth = path.size() - 1;; --depth) {
        const std::vector<std::string> parent(path.begin(), path.begin() + depth);
        const std::string parentKey = JoinPath(parent);
        if (walk.failedFolders.count(parentKey)) return false;
        if (walk.listedFolders.count(parentKey)) return true;
        if (depth == 0) return false;
    }
}

int DeleteMissing(const UnlhaCommand& command, CommandResult& result) {
    std::string& output = result.message;
    OldArchive old;
    if (const int code = OpenOldArchive(command.archive, old, output, Read::kTable)) return code;
    if (!old.exists) return Report(output, kArchiveMissing, "no archive " + old.path.string());
    int code = kOk;
    const std::optional<std::filesystem::path> folder =
        ResolveFolder(command.baseFolder, output, code);
    if (!folder) return code;
    const FolderWalk walk = WalkFolder(*folder, true);
    if (!walk.rootListed) return Report(output, kSourceUnreadable, walk.error);
    const ListedWalk listed = ListedNames(walk);

    Plan plan;
    int deleted = 0;
    const OldMembers& members = old.table;
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::vector<std::string> path = members.Components(i);
        const bool candidate = path.empty() || MatchesAny(command.patterns, path.back());
        if (candidate && IsMissing(path, members.IsDirectory(i), members.IsUnsafe(i), listed)) {
            ++deleted;
            plan.members.push_back(kDrop);
        } else {
            plan.members.push_back(kKeep);
        }
    }
    const std::string summary = std::to_string(deleted) + " deleted";
    if (deleted == 0) return Report(output, kOk, summary);
    if (const int written = WriteArchive(old, plan, nullptr, result)) return written;
    result.counts.deleted = deleted;
    return Report(output, kOk, summary);
}

int Test(const UnlhaCommand& command, std::string& output) {
    OldArchive old;
    if (const int code = OpenOldArchive(command.archive, old, output, Read::kMembers)) return code;
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

int RunUnlhaCommand(const UnlhaCommand& command, CommandResult& result) {
    switch (command.verb) {
        case UnlhaVerb::kUpdate:
            return Update(command, result);
        case UnlhaVerb::kDeleteMissing:
            return DeleteMissing(command, result);
        case UnlhaVerb::kTest:
            return Test(command, result.message);
    }
    return kInternalError;
}

}  // namespace archiver
