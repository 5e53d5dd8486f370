#include "archiver/zip_commands.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>

#include "archiver/archive_target.h"
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

bool IsChanged(const SourceFileList& files, std::uint32_t file, const ZipEntry& entry) {
    return FileChangedSince(
        files.Size(file), files.ModifiedTime(file),
        MemberStamp{entry.originalSize, entry.exactTime, entry.unixTime, entry.dosTime});
}

// The archive as it is before the command: absent, or where its members lie and what they
// hold. `entries[i]` describes `layout.records[i]`.
struct OldArchive {
    std::filesystem::path path;
    bool exists = false;
    struct stat info {};
    std::unique_ptr<FileInput> input;
    ZipLayout layout;
    std::vector<ZipEntry> entries;
};

// The members are located by this library and read by libzip from the same open file; an
// archive the two do not read alike is not updated.
bool ReadSameMembers(const OldArchive& old, zip_t* archive) {
    if (old.entries.size() != old.layout.records.size()) return false;
    for (std::size_t i = 0; i < old.entries.size(); ++i) {
        const char* raw = zip_get_name(archive, old.entries[i].index, ZIP_FL_ENC_RAW);
        const std::string& stored = old.layout.records[i].rawName;
        if (old.entries[i].index != i || raw == nullptr ||
            raw != stored.substr(0, stored.find('\0'))) {
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
    const ZipArchiveHandle archive(old.input->fd(), old.layout.archiveStart, path, error);
    if (archive.get() == nullptr) return Report(output, kArchiveDamaged, error);
    if (!ReadZipEntries(archive.get(), old.entries, error)) {
        return Report(output, kArchiveDamaged, path.string() + ": " + error);
    }
    if (!ReadSameMembers(old, archive.get())) {
        return refuse("中央ディレクトリの読み方が一つに定まりません");
    }
    return kOk;
}

constexpr std::uint32_t kKeep = 0xFFFFFFFF;

// What the new archive holds in place of each old member (kKeep keeps it as it is, else the
// file replacing it), and the files added.
struct Plan {
    std::vector<std::uint32_t> replacements;
    std::vector<std::uint32_t> additions;
};

int WriteArchive(const OldArchive& old, const Plan& plan, const SourceFileList& files,
                 std::string& output) {
    std::string error;
    std::unique_ptr<TempArchive> temp = TempArchive::Create(old.path, error);
    if (!temp) return Report(output, kWriteFailed, error);
    const auto failed = [&] {
        if (!temp->file().error().empty() || error.empty()) {
            return Report(output, kWriteFailed, old.path.string() + ": " + error);
        }
        return Report(output, kSourceUnreadable, error);
    };
    ZipWriter writer(temp->file());
    const std::vector<ZipCentralRecord>& records = old.layout.records;
    std::vector<std::vector<std::uint8_t>> central(records.size() + plan.additions.size());
    if (old.input && !writer.CopyBytes(*old.input, 0, old.layout.membersStart, error)) {
        return Report(output, kWriteFailed, old.path.string() + ": " + error);
    }
    // Members in the order they lie in the file, each replacement where its old member lay.
    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return records[a].spanStart < records[b].spanStart;
    });
    for (const std::size_t i : order) {
        if (plan.replacements[i] == kKeep) {
            if (!writer.CopyMember(*old.input, records[i], central[i], error)) {
                return Report(output, kWriteFailed, old.path.string() + ": " + error);
            }
        } else if (!writer.AddFile(files.At(plan.replacements[i]), central[i], error)) {
            return failed();
        }
    }
    for (std::size_t k = 0; k < plan.additions.size(); ++k) {
        if (!writer.AddFile(files.At(plan.additions[k]), central[records.size() + k], error)) {
            return failed();
        }
    }
    if (!writer.Finish(central, old.layout, error) ||
        (old.input &&
         !writer.CopyBytes(*old.input, old.layout.trailingStart, old.input->size(), error)) ||
        !temp->Commit(error)) {
        return Report(output, kWriteFailed, old.path.string() + ": " + error);
    }
    return kOk;
}

}  // namespace

int RunZipCommand(const ZipCommand& command, std::string& output) {
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
    for (std::size_t i = 0; i < old.entries.size(); ++i) {
        const ZipEntry& entry = old.entries[i];
        if (entry.unsafeName) {
            return Report(output, kUnsafeMemberName,
                          "the archive holds an unsafe name: " + entry.name);
        }
    }
    std::string error;
    std::string partial;
    const std::optional<SourceFileList> files =
        SelectSourceFiles(*folder, command.recursive, command.patterns,
                          old.exists ? &old.info : nullptr, error, partial);
    if (!files) return Report(output, kSourceUnreadable, error);
    const ListedFiles listed(*files, ListedZipName);
    if (!listed.Distinct('/', error)) return Report(output, kSourceUnreadable, error);

    Plan plan;
    plan.replacements.assign(old.entries.size(), kKeep);
    int replaced = 0;
    // Encrypted members the files would replace, named in the order the files were found.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> encrypted;
    {
        const auto entryName = [&](std::uint32_t i) {
            return std::string_view(old.entries[i].name);
        };
        const std::vector<std::uint32_t> sorted = SortMembers(
            old.entries.size(), [&](std::uint32_t i) { return !old.entries[i].isDirectory; },
            entryName);
        MatchFiles(listed, sorted, entryName, [&](std::uint32_t file, std::uint32_t member) {
            if (member == kNoMember) {
                plan.additions.push_back(file);
                return;
            }
            const ZipEntry& entry = old.entries[member];
            if (command.updateOnly && !IsChanged(*files, file, entry)) return;
            if (entry.encrypted) {
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
        partial += (partial.empty() ? "" : "; ") + files->HostPath(file) + ": アーカイブ内の " +
                   old.entries[member].name + " は暗号化されているので置き換えません";
    }
    const auto added = static_cast<int>(plan.additions.size());
    const std::string summary =
        std::to_string(added) + " added, " + std::to_string(replaced) + " replaced";
    // An update that changes nothing leaves the archive as it is; a first backup of an
    // empty folder still leaves an (empty) archive.
    if (!old.exists || added != 0 || replaced != 0) {
        if (const int written = WriteArchive(old, plan, *files, output)) return written;
    }
    if (!partial.empty()) return Report(output, kSourceUnreadable, summary + "; " + partial);
    return Report(output, kOk, summary);
}

}  // namespace archiver
