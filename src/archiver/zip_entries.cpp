#include "archiver/zip_entries.h"

#include <algorithm>
#include <cstring>

#include "archiver/name_codec.h"
#include "archiver/zip_archive_handle.h"

namespace archiver {
namespace {

constexpr zip_uint16_t kExtendedTimestamp = 0x5455;
constexpr zip_uint16_t kUnicodePath = 0x7075;

std::string DecodeName(zip_t* archive, zip_uint64_t index) {
    const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
    const char* strict = zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
    if (raw == nullptr) return std::string();
    const std::string rawName = raw;
    // STRICT equals RAW for a name flagged as UTF-8 (or plain ASCII).
    if (strict != nullptr && rawName == strict) return rawName;
    zip_uint16_t length = 0;
    if (strict != nullptr && zip_file_extra_field_get_by_id(archive, index, kUnicodePath, 0,
                                                            &length, ZIP_FL_CENTRAL) != nullptr) {
        return strict;
    }
    // Info-ZIP's zip and others on Unix store the name's UTF-8 bytes without the flag; an
    // MS-DOS or Windows tool stores its code page. "é" (C3 A9) would otherwise read as CP932
    // half-width katakana, and the next update would add the file again beside it.
    zip_uint8_t system = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, nullptr) == 0 &&
        (system == ZIP_OPSYS_UNIX || system == ZIP_OPSYS_OS_X) && IsValidUtf8(rawName)) {
        return rawName;
    }
    return DecodeLegacyName(rawName);
}

bool ReadExtendedTime(zip_t* archive, zip_uint64_t index, std::int64_t& unixTime) {
    for (const zip_flags_t where : {ZIP_FL_CENTRAL, ZIP_FL_LOCAL}) {
        zip_uint16_t length = 0;
        const zip_uint8_t* data =
            zip_file_extra_field_get_by_id(archive, index, kExtendedTimestamp, 0, &length, where);
        if (data != nullptr && length >= 5 && (data[0] & 1)) {
            std::uint32_t value = 0;
            std::memcpy(&value, data + 1, 4);
            unixTime = static_cast<std::int32_t>(value);
            return true;
        }
    }
    return false;
}

std::string PlainSeparators(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    const std::size_t start = name.find_first_not_of('/');
    return start == std::string::npos ? std::string() : name.substr(start);
}

bool IsUnsafe(const std::string& name) {
    if (name.empty() || name[0] == '/' || name[0] == '\\') return true;
    std::size_t start = 0;
    std::string trimmed = name;
    if (trimmed.back() == '/') trimmed.pop_back();
    for (std::size_t i = 0; i <= trimmed.size(); ++i) {
        if (i == trimmed.size() || trimmed[i] == '/' || trimmed[i] == '\\') {
            const std::string part = trimmed.substr(start, i - start);
            if (part.empty() || part == "." || part == ".." ||
                part.find(':') != std::string::npos) {
                return true;
            }
            start = i + 1;
        }
    }
    return false;
}

}  // namespace

bool ReadZipEntries(zip_t* archive, std::vector<ZipEntry>& entries, std::string& error) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, index, 0, &stat) != 0) {
            error = zip_strerror(archive);
            return false;
        }
        ZipEntry entry;
        entry.index = index;
        entry.name = PlainSeparators(DecodeName(archive, index));
        entry.unsafeName = IsUnsafe(entry.name);
        entry.isDirectory = !entry.name.empty() && entry.name.back() == '/';
        entry.originalSize = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
        entry.compressedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
        entry.crc = (stat.valid & ZIP_STAT_CRC) ? stat.crc : 0;
        entry.encrypted =
            (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE;
        entry.exactTime = ReadExtendedTime(archive, index, entry.unixTime);
        if (!entry.exactTime) entry.unixTime = (stat.valid & ZIP_STAT_MTIME) ? stat.mtime : 0;
        entry.dosTime = DosFromUnix(entry.unixTime);
        entries.push_back(std::move(entry));
    }
    return true;
}

bool ReadZipEntriesBySlice(
    const RandomAccessInput& input, const ZipLayout& layout, const std::filesystem::path& path,
    const std::function<void(std::size_t, const std::vector<ZipEntry>&, zip_t*)>& each,
    bool& opened, std::string& error) {
    constexpr std::size_t kSlice = 4096;
    const std::vector<ZipCentralRecord>& records = layout.records;
    const std::uint64_t directoryOffset = layout.directoryStart - layout.archiveStart;
    std::string unreadable;
    for (std::size_t first = 0; first < records.size(); first += kSlice) {
        const std::size_t count = std::min(kSlice, records.size() - first);
        const std::span<const std::uint8_t> from = layout.Raw(first);
        const std::span<const std::uint8_t> to = layout.Raw(first + count - 1);
        std::vector<std::uint8_t> slice(from.data(), to.data() + to.size());
        const ZipArchiveHandle archive(input, layout.archiveStart, directoryOffset,
                                       std::move(slice), count, path, error);
        if (archive.get() == nullptr) {
            opened = false;
            return false;
        }
        if (!unreadable.empty()) continue;
        std::vector<ZipEntry> entries;
        if (!ReadZipEntries(archive.get(), entries, error)) {
            unreadable = error;
            continue;
        }
        each(first, entries, archive.get());
    }
    opened = true;
    if (unreadable.empty()) return true;
    error = unreadable;
    return false;
}

std::vector<std::uint8_t> ExtendedTimestamp(std::int64_t unixTime) {
    const auto value = static_cast<std::uint32_t>(unixTime);
    return {1, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace archiver
