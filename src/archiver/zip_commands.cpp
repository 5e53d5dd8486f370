#include "archiver/zip_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <map>
#include <memory>
#include <optional>

#include "archiver/archive_target.h"
#include "archiver/member_change.h"
#include "archiver/name_codec.h"
#include "archiver/path_resolution.h"
#include "archiver/return_code.h"
#include "archiver/source_selection.h"
#include "archiver/stored_names.h"
#include "archiver/temp_archive.h"
#include "archiver/zip_archive_handle.h"
#include "archiver/zip_entries.h"
#include "archiver/zip_file_source.h"

namespace archiver {
namespace {

constexpr zip_uint16_t kExtendedTimestamp = 0x5455;

int Report(std::string& output, int code, const std::string& text) {
    output = text;
    return code;
}

std::string ZipName(const std::vector<std::string>& components) {
    std::string name;
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) name += '/';
        name += components[i];
    }
    return name;
}

// The name this library lists the entry under: a host name that is not UTF-8 is stored as
// its bytes without the UTF-8 flag and read back as a legacy name.
std::string ListedZipName(const std::vector<std::string>& components) {
    const std::string name = ZipName(components);
    return IsValidUtf8(name) ? name : DecodeLegacyName(name);
}

bool IsChanged(const SourceFile& file, const ZipEntry& entry) {
    return FileChangedSince(
        file, MemberStamp{entry.originalSize, entry.exactTime, entry.unixTime, entry.dosTime});
}

// Adds the file as a new entry or in place of entry `replace`; the data is read by zip_close,
// which leaves the first file it could not read in `readFailure`.
bool PutFile(zip_t* archive, const SourceFile& file, std::optional<zip_uint64_t> replace,
             std::string& readFailure, std::string& error) {
    zip_source_t* source = FileSourceFor(archive, file, readFailure);
    if (source == nullptr) {
        error = file.hostPath.string() + ": " + zip_strerror(archive);
        return false;
    }
    zip_int64_t index = -1;
    if (replace) {
        index = zip_file_replace(archive, *replace, source, 0) == 0
                    ? static_cast<zip_int64_t>(*replace)
                    : -1;
    } else {
        const std::string name = ZipName(file.path);
        index = zip_file_add(archive, name.c_str(), source,
                             IsValidUtf8(name) ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_GUESS);
    }
    if (index < 0) {
        zip_source_free(source);
        error = zip_strerror(archive);
        return false;
    }
    const auto at = static_cast<zip_uint64_t>(index);
    const std::vector<std::uint8_t> timestamp = ExtendedTimestamp(file.modifiedTime);
    zip_file_extra_field_delete_by_id(archive, at, kExtendedTimestamp, ZIP_EXTRA_FIELD_ALL,
                                      ZIP_FL_LOCAL | ZIP_FL_CENTRAL);
    if (zip_set_file_compression(archive, at, ZIP_CM_DEFLATE, 6) != 0 ||
        zip_file_set_mtime(archive, at, static_cast<time_t>(file.modifiedTime), 0) != 0 ||
        zip_file_extra_field_set(archive, at, kExtendedTimestamp, ZIP_EXTRA_FIELD_NEW,
                                 timestamp.data(), static_cast<zip_uint16_t>(timestamp.size()),
                                 ZIP_FL_LOCAL | ZIP_FL_CENTRAL) != 0) {
        error = zip_strerror(archive);
        return false;
    }
    return true;
}

// An archive this library rewrites must begin with its first entry (or, empty, with its end
// record): libzip drops bytes before it (a self-extractor's program) when it writes, and a
// file that is no archive at all must not be replaced. An empty file is no archive yet.
bool StartsAsZip(const std::filesystem::path& path, const struct stat& info, std::string& error) {
    if (info.st_size == 0) return true;
    std::uint8_t start[4] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const bool read = fd >= 0 && ::read(fd, start, sizeof start) == sizeof start;
    if (fd >= 0) ::close(fd);
    const bool zip = read && start[0] == 'P' && start[1] == 'K' &&
                     ((start[2] == 3 && start[3] == 4) || (start[2] == 5 && start[3] == 6));
    if (!zip) {
        error = path.string() +
                ": ZIP アーカイブで始まらないので上書きしません（自己解凍の実行部などの前置き"
                "を消さないため、または ZIP アーカイブではないため）";
    }
    return zip;
}

bool WriteEmptyArchive(const std::filesystem::path& path, std::string& error) {
    std::unique_ptr<TempArchive> temp = TempArchive::Create(path, error);
    if (!temp) return false;
    const std::uint8_t endOfDirectory[22] = {'P', 'K', 5, 6};
    if (!temp->file().Write(endOfDirectory, sizeof endOfDirectory)) {
        error = temp->file().error();
        return false;
    }
    return temp->Commit(error);
}

}  // namespace

int RunZipCommand(const ZipCommand& command, std::string& output) {
    std::optional<std::filesystem::path> archivePath = ResolvePath(command.archive);
    if (!archivePath) return Report(output, kPathNotResolved, "cannot resolve " + command.archive);
    archivePath = FollowArchiveLinks(*archivePath);
    const std::optional<std::filesystem::path> folder = ResolvePath(command.baseFolder);
    if (!folder) return Report(output, kPathNotResolved, "cannot resolve " + command.baseFolder);
    struct stat folderInfo {};
    if (::stat(folder->c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode)) {
        return Report(output, kSourceFolderMissing, "no folder " + folder->string());
    }
    struct stat archiveInfo {};
    const bool exists = ::stat(archivePath->c_str(), &archiveInfo) == 0;
    if (exists && !S_ISREG(archiveInfo.st_mode)) {
        return Report(output, kArchiveDamaged, archivePath->string() + ": not a file");
    }
    std::string error;
    if (exists && !StartsAsZip(*archivePath, archiveInfo, error)) {
        return Report(output, kArchiveDamaged, error);
    }
    ZipArchiveHandle archive(*archivePath, exists ? 0 : ZIP_CREATE | ZIP_EXCL, error);
    if (archive.get() == nullptr) return Report(output, kArchiveDamaged, error);
    std::vector<ZipEntry> entries;
    if (!ReadZipEntries(archive.get(), entries, error))
        return Report(output, kArchiveDamaged, error);
    std::map<std::string, const ZipEntry*> byName;
    for (const ZipEntry& entry : entries) {
        if (entry.unsafeName) {
            return Report(output, kUnsafeMemberName,
                          "the archive holds an unsafe name: " + entry.name);
        }
        if (!entry.isDirectory) byName.emplace(entry.name, &entry);
    }
    std::string partial;
    const std::optional<std::vector<SourceFile>> files =
        SelectSourceFiles(*folder, command.recursive, command.patterns,
                          exists ? &archiveInfo : nullptr, error, partial);
    if (!files) return Report(output, kSourceUnreadable, error);

    int added = 0;
    int replaced = 0;
    std::string readFailure;
    std::vector<std::string> keys;
    if (!StoredNamesAreDistinct(*files, ListedZipName, keys, error)) {
        return Report(output, kSourceUnreadable, error);
    }
    for (std::size_t i = 0; i < files->size(); ++i) {
        const SourceFile& file = (*files)[i];
        const auto found = byName.find(keys[i]);
        std::optional<zip_uint64_t> replace;
        if (found != byName.end()) {
            if (command.updateOnly && !IsChanged(file, *found->second)) continue;
            if (found->second->encrypted) {
                // Its password is not known: the member stays as it is, and the entry fails
                // until the user removes or replaces it with the tool that encrypted it.
                partial += (partial.empty() ? "" : "; ") + file.hostPath.string() +
                           ": アーカイブ内の " + found->second->name +
                           " は暗号化されているので置き換えません";
                continue;
            }
            replace = found->second->index;
        }
        if (!PutFile(archive.get(), file, replace, readFailure, error))
            return Report(output, kWriteFailed, error);
        ++(replace ? replaced : added);
    }
    const std::string summary =
        std::to_string(added) + " added, " + std::to_string(replaced) + " replaced";
    if (added == 0 && replaced == 0) {
        // libzip writes no archive without entries; a first backup of an empty folder still
        // leaves one.
        if (!exists && !WriteEmptyArchive(*archivePath, error)) {
            return Report(output, kWriteFailed, error);
        }
    } else {
        bool readError = false;
        if (!archive.Close(error, readError)) {
            if (readError) {
                return Report(output, kSourceUnreadable, readFailure.empty() ? error : readFailure);
            }
            return Report(output, kWriteFailed, archivePath->string() + ": " + error);
        }
    }
    if (!partial.empty()) return Report(output, kSourceUnreadable, summary + "; " + partial);
    return Report(output, kOk, summary);
}

}  // namespace archiver
