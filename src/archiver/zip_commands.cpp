#include "archiver/zip_commands.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>

#include "archiver/archive_target.h"
#include "archiver/little_endian.h"
#include "archiver/member_change.h"
#include "archiver/name_codec.h"
#include "archiver/path_resolution.h"
#include "archiver/random_access_input.h"
#include "archiver/return_code.h"
#include "archiver/source_selection.h"
#include "archiver/stored_names.h"
#include "archiver/temp_archive.h"
#include "archiver/zip_archive_handle.h"
#include "archiver/zip_entries.h"
#include "archiver/zip_layout.h"
#include "archiver/zip_writer.h"

namespace archiver {
namespace {

int Report(std::string& output, int code, const std::string& text) {
    output = text;
    return code;
}

// The name this library lists the entry under when the host name is not UTF-8: such a name is
// stored as its bytes without the UTF-8 flag and read back as a legacy name.
std::string ListedZipName(const std::vector<std::string>& components) {
    std::string name;
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) name += '/';
        name += components[i];
    }
    return DecodeLegacyName(name);
}

// What an update needs of each old member, the names of all in one buffer: an archive of many
// small members would otherwise hold a record and a string of their own for each.
class OldEntries {
  public:
    void Add(const ZipEntry& entry) {
        records_.push_back(Record{names_.size(), entry.originalSize, entry.unixTime, entry.dosTime,
                                  entry.exactTime, entry.isDirectory, entry.encrypted,
                                  entry.unsafeName});
        names_ += entry.name;
    }
    // The count is known from the directory: no room is made twice.
    void Reserve(std::size_t count) { records_.reserve(count); }
    void Trim() { names_.shrink_to_fit(); }

    std::size_t size() const { return records_.size(); }
    std::string_view Name(std::size_t i) const {
        const std::uint64_t end = i + 1 < records_.size() ? records_[i + 1].nameAt : names_.size();
        return std::string_view(names_).substr(records_[i].nameAt, end - records_[i].nameAt);
    }
    bool IsDirectory(std::size_t i) const { return records_[i].directory; }
    bool IsEncrypted(std::size_t i) const { return records_[i].encrypted; }
    bool IsUnsafe(std::size_t i) const { return records_[i].unsafe; }
    MemberStamp Stamp(std::size_t i) const {
        const Record& record = records_[i];
        return MemberStamp{record.originalSize, record.exactTime, record.unixTime, record.dosTime};
    }

  private:
    struct Record {
        std::uint64_t nameAt = 0;  // its name runs to the next record's
        std::uint64_t originalSize = 0;
        std::int64_t unixTime = 0;
        DosDateTime dosTime;
        bool exactTime = false;
        bool directory = false;
        bool encrypted = false;
        bool unsafe = false;
    };
    std::string names_;
    std::vector<Record> records_;
};

// The archive as it is before the command: absent, or where its members lie and what they
// hold. `entries` describes `layout.records` one for one.
struct OldArchive {
    std::filesystem::path path;
    bool exists = false;
    struct stat info {};
    std::unique_ptr<FileInput> input;
    ZipLayout layout;
    OldEntries entries;
};

// The members are located by this library and read by libzip from the same open file; an
// archive the two do not read alike is not updated. `entries` are those libzip read of the
// slice of records from `first`.
bool ReadSameMembers(const ZipLayout& layout, std::size_t first,
                     const std::vector<ZipEntry>& entries, zip_t* archive) {
    if (entries.size() > layout.records.size() - first) return false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const char* raw = zip_get_name(archive, entries[i].index, ZIP_FL_ENC_RAW);
        const std::string stored = layout.RawName(first + i);
        if (entries[i].index != i || raw == nullptr || raw != stored.substr(0, stored.find('\0'))) {
            return false;
        }
    }
    return true;
}

int OpenOldArchive(const std::filesystem::path& path, OldArchive& old, std::string& output) {
    old.path = path;
    if (::stat(path.c_str(), &old.info) != 0) return kOk;
    old.exists = true;
    if (!S_ISREG(old.info.st_mode)) {
        return Report(output, kArchiveDamaged, path.string() + ": not a file");
    }
    std::string error;
    old.input = FileInput::Open(path, error);
    if (!old.input) return Report(output, kArchiveDamaged, error);
    if (old.input->size() == 0) return kOk;  // no archive yet
    const auto refuse = [&](const std::string& why) {
        return Report(output, kArchiveDamaged, path.string() + ": " + why + "（更新しません）");
    };
    if (!ReadZipLayout(*old.input, old.layout, error)) return refuse(error);
    // What libzip cannot open is reported first, then an entry it cannot read, then a
    // difference from this library's reading.
    bool same = true;
    bool opened = false;
    old.entries.Reserve(old.layout.records.size());
    const bool read = ReadZipEntriesBySlice(
        *old.input, old.layout, path,
        [&](std::size_t first, const std::vector<ZipEntry>& entries, zip_t* archive) {
            if (!same) return;
            same = ReadSameMembers(old.layout, first, entries, archive);
            for (const ZipEntry& entry : entries) old.entries.Add(entry);
        },
        opened, error);
    if (!read)
        return Report(output, kArchiveDamaged, opened ? path.string() + ": " + error : error);
    old.entries.Trim();
    if (!same || old.entries.size() != old.layout.records.size())
        return refuse("中央ディレクトリの読み方が一つに定まりません");
    return kOk;
}

constexpr std::uint32_t kKeep = 0xFFFFFFFF;
constexpr std::size_t kCentralRecordSize = 46;  // before its name, extra field and comment

// What the new archive holds in place of each old member (kKeep keeps it as it is, else the
// file replacing it), and the files added.
struct Plan {
    std::vector<std::uint32_t> replacements;
    std::vector<std::uint32_t> additions;
};

// Writes the planned members into the new archive and puts it in the old one's place.
int WriteMembers(TempArchive& temp, const OldArchive& old, const Plan& plan,
                 const SourceFileList& files, std::string& output) {
    std::string error;
    const auto failed = [&] {
        if (!temp.file().error().empty() || error.empty()) {
            return Report(output, kWriteFailed, old.path.string() + ": " + error);
        }
        return Report(output, kSourceUnreadable, error);
    };
    ZipWriter writer(temp.file());
    const std::vector<ZipCentralRecord>& records = old.layout.records;
    // Where each member of the new archive went: a kept one's new offset, its record made
    // again from the old one when the directory is written; for a file, where its record
    // lies in `written`.
    std::vector<std::uint64_t> where(records.size() + plan.additions.size());
    std::vector<std::uint8_t> written;
    std::vector<std::uint8_t> central;
    const auto add = [&](std::uint32_t file, std::size_t at) {
        if (!writer.AddFile(files.At(file), central, error)) return false;
        where[at] = written.size();
        written.insert(written.end(), central.begin(), central.end());
        return true;
    };
    if (old.input && !writer.CopyBytes(*old.input, 0, old.layout.membersStart, error)) {
        return Report(output, kWriteFailed, old.path.string() + ": " + error);
    }
    // Members in the order they lie in the file, each replacement where its old member lay.
    std::vector<std::uint32_t> order(records.size());
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return records[a].spanStart < records[b].spanStart;
    });
    for (const std::uint32_t i : order) {
        if (plan.replacements[i] == kKeep) {
            if (!writer.CopyMember(*old.input, old.layout, i, where[i], error)) {
                return Report(output, kWriteFailed, old.path.string() + ": " + error);
            }
        } else if (!add(plan.replacements[i], i)) {
            return failed();
        }
    }
    order = {};
    for (std::size_t k = 0; k < plan.additions.size(); ++k) {
        if (!add(plan.additions[k], records.size() + k)) return failed();
    }
    const auto record = [&](std::size_t i, std::vector<std::uint8_t>& bytes) {
        if (i < records.size() && plan.replacements[i] == kKeep) {
            const std::span<const std::uint8_t> raw = old.layout.Raw(i);
            bytes.assign(raw.begin(), raw.end());
            std::string unused;
            RelocateCentralRecord(bytes, where[i], unused);
            return;
        }
        const std::uint8_t* at = written.data() + where[i];
        bytes.assign(at, at + kCentralRecordSize + le::Get16(at + 28) + le::Get16(at + 30) +
                             le::Get16(at + 32));
    };
    if (!writer.Finish(where.size(), record, old.layout, error) ||
        (old.input &&
         !writer.CopyBytes(*old.input, old.layout.trailingStart, old.input->size(), error)) ||
        !temp.Commit(error)) {
        return Report(output, kWriteFailed, old.path.string() + ": " + error);
    }
    return kOk;
}

int WriteArchive(const OldArchive& old, const Plan& plan, const SourceFileList& files,
                 CommandResult& result) {
    std::string error;
    std::unique_ptr<TempArchive> temp = TempArchive::Create(old.path, error);
    if (!temp) return Report(result.message, kWriteFailed, error);
    const int code = WriteMembers(*temp, old, plan, files, result.message);
    result.diskFull = temp->file().diskFull();
    return code;
}

}  // namespace

int RunZipCommand(const ZipCommand& command, CommandResult& result) {
    std::string& output = result.message;
    std::optional<std::filesystem::path> archivePath = ResolvePath(command.archive);
    if (!archivePath) return Report(output, kPathNotResolved, "cannot resolve " + command.archive);
    const std::optional<std::filesystem::path> folder = ResolvePath(command.baseFolder);
    if (!folder) return Report(output, kPathNotResolved, "cannot resolve " + command.baseFolder);
    struct stat folderInfo {};
    if (::stat(folder->c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
        return Report(output, kSourceFolderMissing, "no folder " + folder->string());
    }
    OldArchive old;
    if (const int code = OpenOldArchive(FollowArchiveLinks(*archivePath), old, output)) {
        return code;
    }
    const OldEntries& entries = old.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries.IsUnsafe(i)) {
            return Report(output, kUnsafeMemberName,
                          "the archive holds an unsafe name: " + std::string(entries.Name(i)));
        }
    }
    std::string error;
    std::vector<std::string> passedOver;
    const std::optional<SourceFileList> files =
        SelectSourceFiles(*folder, command.recursive, command.patterns,
                          old.exists ? &old.info : nullptr, error, passedOver);
    if (!files) return Report(output, kSourceUnreadable, error);
    const ListedFiles listed(*files, ListedZipName);
    if (!listed.Distinct('/', error)) return Report(output, kSourceUnreadable, error);

    Plan plan;
    plan.replacements.assign(entries.size(), kKeep);
    int replaced = 0;
    // Encrypted members the files would replace, named in the order the files were found.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> encrypted;
    {
        const auto entryName = [&](std::uint32_t i) { return entries.Name(i); };
        const std::vector<std::uint32_t> sorted = SortMembers(
            entries.size(), [&](std::uint32_t i) { return !entries.IsDirectory(i); }, entryName);
        MatchFiles(listed, sorted, entryName, [&](std::uint32_t file, std::uint32_t member) {
            if (member == kNoMember) {
                plan.additions.push_back(file);
                return;
            }
            if (command.updateOnly &&
                !FileChangedSince(files->Size(file), files->ModifiedTime(file),
                                  entries.Stamp(member))) {
                return;
            }
            if (entries.IsEncrypted(member)) {
                encrypted.emplace_back(file, member);
                return;
            }
            plan.replacements[member] = file;
            ++replaced;
        });
    }
    std::sort(plan.additions.begin(), plan.additions.end());
    std::sort(encrypted.begin(), encrypted.end());
    for (const auto& [file, member] : encrypted) {
        // Its password is not known: the member stays as it is, and the entry fails
        // until the user removes or replaces it with the tool that encrypted it.
        passedOver.push_back(files->HostPath(file) + ": アーカイブ内の " +
                             std::string(entries.Name(member)) +
                             " は暗号化されているので置き換えません");
    }
    const auto added = static_cast<int>(plan.additions.size());
    const std::string summary =
        std::to_string(added) + " added, " + std::to_string(replaced) + " replaced";
    // An update that changes nothing leaves the archive as it is; a first backup of an
    // empty folder still leaves an (empty) archive.
    if (!old.exists || added != 0 || replaced != 0) {
        if (const int written = WriteArchive(old, plan, *files, result)) return written;
    }
    result.counts.added = added;
    result.counts.replaced = replaced;
    if (!passedOver.empty()) return ReportPassedOver(result, summary, std::move(passedOver));
    return Report(output, kOk, summary);
}

}  // namespace archiver
