#include "archiver/listing.h"

#include <algorithm>
#include <optional>

#include "archiver/lzh_archive.h"
#include "archiver/path_resolution.h"
#include "archiver/zip_archive_handle.h"
#include "archiver/zip_entries.h"

namespace archiver {
namespace {

std::uint16_t Ratio(std::uint64_t original, std::uint64_t compressed) {
    if (original == 0) return 0;
    const long double perMille = static_cast<long double>(compressed) * 1000 / original;
    return static_cast<std::uint16_t>(std::min<long double>(perMille, 65535));
}

}  // namespace

bool ListLzhArchive(const std::string& drivePath, Listing& listing) {
    const std::optional<std::filesystem::path> path = ResolvePath(drivePath);
    if (!path) return false;
    std::string error;
    const std::unique_ptr<FileInput> input = FileInput::Open(*path, error);
    if (!input) return false;
    const LzhArchiveContents contents = ReadLzhArchive(*input);
    // Something that does not even begin like an LZH archive is not opened.
    if (contents.damaged && contents.members.empty()) return false;
    listing.damaged = contents.damaged;
    for (const LzhMember& member : contents.members) {
        EntryInfo entry{};
        entry.originalSize = member.originalSize;
        entry.compressedSize = member.packedSize;
        entry.crc = member.crc;
        entry.ratio = Ratio(member.originalSize, member.packedSize);
        entry.dosDate = member.dosTime.date;
        entry.dosTime = member.dosTime.time;
        entry.name = member.DisplayName();
        listing.entries.push_back(std::move(entry));
    }
    return true;
}

bool ListZipArchive(const std::string& drivePath, Listing& listing) {
    const std::optional<std::filesystem::path> path = ResolvePath(drivePath);
    if (!path) return false;
    std::string error;
    const ZipArchiveHandle archive(*path, error);
    if (archive.get() == nullptr) return false;
    std::vector<ZipEntry> entries;
    listing.damaged = !ReadZipEntries(archive.get(), entries, error);
    for (const ZipEntry& zipEntry : entries) {
        EntryInfo entry{};
        entry.originalSize = zipEntry.originalSize;
        entry.compressedSize = zipEntry.compressedSize;
        entry.crc = zipEntry.crc;
        entry.ratio = Ratio(zipEntry.originalSize, zipEntry.compressedSize);
        entry.dosDate = zipEntry.dosTime.date;
        entry.dosTime = zipEntry.dosTime.time;
        entry.name = zipEntry.name;
        std::replace(entry.name.begin(), entry.name.end(), '/', '\\');
        listing.entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace archiver
