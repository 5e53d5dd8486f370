#include "archiver/member_extraction.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archiver/lzh_archive.h"
#include "archiver/random_access_input.h"
#include "archiver/zip_entries.h"
#include "platform/system_calls.h"

namespace archiver {
namespace {

std::vector<std::string> SplitName(const std::string& name) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : name) {
        if (c == '/' || c == '\\') {
            parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

class LzhReader final : public ArchiveReader {
  public:
    LzhReader(std::unique_ptr<FileInput> input, LzhArchiveContents contents)
        : input_(std::move(input)), lzh_(std::move(contents.members)) {
        damaged_ = contents.damaged;
        damage_ = contents.error;
        members_.reserve(lzh_.size());
        for (std::size_t i = 0; i < lzh_.size(); ++i) {
            const LzhMember& source = lzh_[i];
            StoredMember member;
            member.index = i;
            member.name = source.DisplayName();
            member.path = source.path;
            member.isDirectory = source.isDirectory();
            member.unsafeName = source.unsafePath || !StaysInside(source.path);
            member.originalSize = source.originalSize;
            member.crc = source.crc;
            member.unixTime = source.unixTime;
            member.exactTime = source.exactTime;
            if (!source.method) member.undecodableMethod = source.methodId;
            members_.push_back(std::move(member));
        }
    }

    bool Decode(const StoredMember& member, const ByteSink& sink,
                std::string& error) const override {
        if (member.unsafeName) {
            error = "unsafe member name";
            return false;
        }
        // Every method the decoder knows goes through the one decoder door.
        return ExtractLzhMember(*input_, lzh_.at(member.index), sink, error);
    }

  private:
    std::unique_ptr<FileInput> input_;
    std::vector<LzhMember> lzh_;
};

class ZipReader final : public ArchiveReader {
  public:
    ZipReader(zip_t* archive, std::vector<ZipEntry> entries, std::string damage)
        : archive_(archive), zipIndex_() {
        damaged_ = !damage.empty();
        damage_ = std::move(damage);
        members_.reserve(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ZipEntry& entry = entries[i];
            StoredMember member;
            member.index = i;
            member.name = entry.name;
            std::replace(member.name.begin(), member.name.end(), '/', '\\');
            std::string trimmed = entry.name;
            if (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
            member.path = SplitName(trimmed);
            member.isDirectory = entry.isDirectory;
            member.unsafeName = entry.unsafeName || !StaysInside(member.path);
            member.originalSize = entry.originalSize;
            member.crc = entry.crc;
            member.unixTime = entry.unixTime;
            member.exactTime = entry.exactTime;
            members_.push_back(std::move(member));
            zipIndex_.push_back(entry.index);
        }
    }
    ~ZipReader() override { zip_discard(archive_); }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    bool Decode(const StoredMember& member, const ByteSink& sink,
                std::string& error) const override {
        if (member.unsafeName) {
            error = "unsafe member name";
            return false;
        }
        if (member.isDirectory) return true;
        zip_file_t* file = zip_fopen_index(archive_, zipIndex_.at(member.index), 0);
        if (file == nullptr) {
            error = zip_strerror(archive_);
            return false;
        }
        std::vector<std::uint8_t>& buffer = buffer_;
        std::uint64_t produced = 0;
        uLong crc = crc32(0L, Z_NULL, 0);
        bool ok = true;
        for (;;) {
            const zip_int64_t got = zip_fread(file, buffer.data(), buffer.size());
            if (got < 0) {
                error = zip_file_strerror(file);
                ok = false;
                break;
            }
            if (got == 0) break;
            produced += static_cast<std::uint64_t>(got);
            crc = crc32(crc, buffer.data(), static_cast<uInt>(got));
            if (!sink(buffer.data(), static_cast<std::size_t>(got))) {
                error = "output stopped";
                ok = false;
                break;
            }
        }
        zip_fclose(file);
        if (!ok) return false;
        // libzip checks the CRC too; checking here as well covers stored members and
        // archives whose sizes were written after the data.
        if (produced != member.originalSize) {
            error = "member data truncated";
            return false;
        }
        if (static_cast<std::uint32_t>(crc) != member.crc) {
            error = "CRC mismatch";
            return false;
        }
        return true;
    }

  private:
    zip_t* archive_;
    std::vector<zip_uint64_t> zipIndex_;
    mutable std::vector<std::uint8_t> buffer_ = std::vector<std::uint8_t>(1 << 18);
};

std::unique_ptr<ArchiveReader> OpenLzh(const std::filesystem::path& archive, std::string& error) {
    std::unique_ptr<FileInput> input = FileInput::Open(archive, error);
    if (!input) return nullptr;
    LzhArchiveContents contents = ReadLzhArchive(*input);
    if (contents.damaged && contents.members.empty()) {
        error = archive.string() + ": not an LZH archive (" + contents.error + ")";
        return nullptr;
    }
    return std::make_unique<LzhReader>(std::move(input), std::move(contents));
}

std::unique_ptr<ArchiveReader> OpenZip(const std::filesystem::path& archive, std::string& error) {
    int code = 0;
    zip_t* opened = zip_open(archive.c_str(), ZIP_RDONLY, &code);
    if (opened == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, code);
        error = archive.string() + ": " + zip_error_strerror(&zipError);
        zip_error_fini(&zipError);
        return nullptr;
    }
    std::vector<ZipEntry> entries;
    std::string damage;
    if (!ReadZipEntries(opened, entries, damage) && damage.empty()) damage = "unreadable entry";
    return std::make_unique<ZipReader>(opened, std::move(entries), std::move(damage));
}

}  // namespace

bool StaysInside(const std::vector<std::string>& components) {
    if (components.empty()) return false;
    for (const std::string& part : components) {
        if (part.empty() || part == "." || part == ".." ||
            part.find_first_of(std::string("/\\:\0", 4)) != std::string::npos) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<ArchiveReader> ArchiveReader::Open(const std::filesystem::path& archive,
                                                   ArchiveKind kind, std::string& error) {
    return kind == ArchiveKind::Lzh ? OpenLzh(archive, error) : OpenZip(archive, error);
}

bool ArchiveReader::ExtractToFile(const StoredMember& member, const std::filesystem::path& file,
                                  std::string& error) const {
    const int fd = platform::sys::Open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = file.string() + ": " + std::strerror(errno);
        return false;
    }
    // One buffer per thread for every member: a fresh megabyte per small file costs more
    // than writing it.
    thread_local std::vector<std::uint8_t> pending;
    pending.clear();
    pending.reserve(1 << 20);
    std::string writeError;
    const auto flush = [&]() {
        std::size_t done = 0;
        while (done < pending.size()) {
            const ssize_t written = platform::sys::Write(fd, pending.data() + done,
                                                         pending.size() - done, file.c_str());
            if (written < 0) {
                if (errno == EINTR) continue;
                writeError = file.string() + ": " + std::strerror(errno);
                return false;
            }
            done += static_cast<std::size_t>(written);
        }
        pending.clear();
        return true;
    };
    const ByteSink sink = [&](const std::uint8_t* data, std::size_t size) {
        pending.insert(pending.end(), data, data + size);
        return pending.size() < (1 << 20) || flush();
    };
    bool ok = Decode(member, sink, error) && flush();
    if (!writeError.empty()) error = writeError;
    if (::close(fd) != 0 && ok) {
        error = file.string() + ": " + std::strerror(errno);
        ok = false;
    }
    if (!ok) ::unlink(file.c_str());
    return ok;
}

}  // namespace archiver
