#include "archiver/history_members.h"

#include <zip.h>

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

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPointer = std::unique_ptr<zip_t, ZipCloser>;

std::string ZipError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

HistoryResult KeepZip(const HistoryRequest& request, const SourceFiles& files) {
    int code = 0;
    ZipPointer old(zip_open(request.archive.c_str(), ZIP_RDONLY, &code));
    if (!old) return {false, 0, request.archive.string() + ": " + ZipError(code)};
    std::vector<zip_uint64_t> kept;
    const zip_int64_t count = zip_get_num_entries(old.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        const char* name = zip_get_name(old.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (!name || zip_stat_index(old.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0) {
            continue;
        }
        const std::string text = name;
        if (text.empty() || text.back() == '/') continue;
        const MemberStamp stamp{stat.size, false, 0, DosFromUnix(stat.mtime)};
        if (files.Replaces(text, stamp, request.deleteMissing)) {
            kept.push_back(static_cast<zip_uint64_t>(i));
        }
    }
    if (kept.empty()) return {true, 0, {}};
    ZipPointer history(zip_open(request.history.c_str(), ZIP_CREATE | ZIP_EXCL, &code));
    if (!history) return {false, 0, request.history.string() + ": " + ZipError(code)};
    for (const zip_uint64_t index : kept) {
        // Without ZIP_FL_RECOMPRESS the packed data is copied as it is.
        zip_source_t* source = zip_source_zip(history.get(), old.get(), index, 0, 0, 0);
        const char* name = zip_get_name(old.get(), index, ZIP_FL_ENC_RAW);
        if (!source || zip_file_add(history.get(), name, source, ZIP_FL_ENC_GUESS) < 0) {
            if (source) zip_source_free(source);
            return {false, 0, zip_strerror(history.get())};
        }
    }
    // libzip writes a temporary file beside the history archive and renames it into place.
    if (zip_close(history.get()) != 0) return {false, 0, zip_strerror(history.get())};
    history.release();
    return {true, static_cast<int>(kept.size()), {}};
}

// Reads a file in large blocks: listing an archive reads many small headers one after
// another, each of which would otherwise be a system call.
class BlockInput final : public RandomAccessInput {
  public:
    explicit BlockInput(const RandomAccessInput& file) : file_(file) {}
    std::uint64_t size() const override { return file_.size(); }
    bool ReadAt(std::uint64_t offset, void* data, std::size_t count) const override {
        if (count > kBlock / 2) return file_.ReadAt(offset, data, count);
        if (offset < start_ || offset + count > start_ + block_.size()) {
            const std::uint64_t length =
                std::min<std::uint64_t>(kBlock, size() - std::min(offset, size()));
            block_.resize(static_cast<std::size_t>(length));
            if (length < count || !file_.ReadAt(offset, block_.data(), block_.size())) {
                block_.clear();
                return false;
            }
            start_ = offset;
        }
        std::memcpy(data, block_.data() + (offset - start_), count);
        return true;
    }

  private:
    static constexpr std::uint64_t kBlock = 1 << 20;
    const RandomAccessInput& file_;
    mutable std::vector<std::uint8_t> block_;
    mutable std::uint64_t start_ = 0;
};

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
    const BlockInput oldInput(*oldFile);
    const LzhArchiveContents old = ReadLzhArchive(oldInput);
    std::set<std::string> now;
    std::string error;
    if (std::unique_ptr<FileInput> newFile = FileInput::Open(archive, error)) {
        const BlockInput newInput(*newFile);
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
    int code = 0;
    ZipPointer old(zip_open(history.c_str(), ZIP_RDONLY, &code));
    if (!old) return {false, 0, history.string() + ": " + ZipError(code)};
    const auto key = [](zip_t* zip, zip_uint64_t index, bool& folder) {
        zip_stat_t stat;
        const char* name = zip_get_name(zip, index, ZIP_FL_ENC_RAW);
        folder = name == nullptr || *name == '\0' || name[std::strlen(name) - 1] == '/';
        if (folder || zip_stat_index(zip, index, 0, &stat) != 0) return std::string();
        return std::string(name) + '\0' + std::to_string(stat.size) + '\0' +
               std::to_string(stat.crc) + '\0' + std::to_string(stat.mtime);
    };
    std::set<std::string> now;
    bool folder = false;
    if (ZipPointer current{zip_open(archive.c_str(), ZIP_RDONLY, &code)}) {
        const zip_int64_t count = zip_get_num_entries(current.get(), 0);
        for (zip_int64_t i = 0; i < count; ++i) {
            now.insert(key(current.get(), static_cast<zip_uint64_t>(i), folder));
        }
    }
    std::vector<zip_uint64_t> kept;
    const zip_int64_t count = zip_get_num_entries(old.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const std::string k = key(old.get(), static_cast<zip_uint64_t>(i), folder);
        if (!folder && !now.contains(k)) kept.push_back(static_cast<zip_uint64_t>(i));
    }
    std::error_code ignored;
    if (kept.empty()) {
        std::filesystem::remove(history, ignored);
        return {true, 0, {}};
    }
    // Written beside the history archive and renamed over it whole.
    const std::filesystem::path part = history.string() + ".part";
    ZipPointer shrunk(zip_open(part.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!shrunk) return {false, 0, part.string() + ": " + ZipError(code)};
    for (const zip_uint64_t index : kept) {
        zip_source_t* source = zip_source_zip(shrunk.get(), old.get(), index, 0, 0, 0);
        const char* name = zip_get_name(old.get(), index, ZIP_FL_ENC_RAW);
        if (!source || zip_file_add(shrunk.get(), name, source, ZIP_FL_ENC_GUESS) < 0) {
            if (source) zip_source_free(source);
            return {false, 0, zip_strerror(shrunk.get())};
        }
    }
    if (zip_close(shrunk.get()) != 0) {
        std::filesystem::remove(part, ignored);
        return {false, 0, zip_strerror(shrunk.get())};
    }
    shrunk.release();
    std::filesystem::rename(part, history, ignored);
    if (ignored) return {false, 0, part.string() + ": " + ignored.message()};
    return {true, static_cast<int>(kept.size()), {}};
}

HistoryResult KeepMembersToBeReplaced(const HistoryRequest& request) {
    std::error_code error;
    if (!std::filesystem::exists(request.archive, error)) return {true, 0, {}};
    const SourceFiles files(request.baseFolder, request.recursive);
    return request.kind == HistoryKind::kLzh ? KeepLzh(request, files) : KeepZip(request, files);
}

}  // namespace archiver
