// What this library reads from the entries of a libzip archive: names decoded on its own
// (legacy archives carry CP932 names without a flag, and libzip's name lookup cannot be
// trusted with them) and modification times, exact when an extended timestamp is present.
#pragma once

#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "archiver/dos_time.h"
#include "archiver/random_access_input.h"
#include "archiver/zip_layout.h"

namespace archiver {

struct ZipEntry {
    zip_uint64_t index = 0;
    // UTF-8 with "/" separators: "\\" of MS-DOS tools is read as "/" and a leading
    // separator is dropped, as other readers do.
    std::string name;
    bool unsafeName = false;
    bool isDirectory = false;
    bool encrypted = false;  // its data cannot be read without a password
    std::uint64_t originalSize = 0;
    std::uint64_t compressedSize = 0;
    std::uint32_t crc = 0;
    std::int64_t unixTime = 0;
    bool exactTime = false;  // from the extended timestamp; otherwise MS-DOS time
    DosDateTime dosTime;
};

// False with `error` when an entry cannot be read.
bool ReadZipEntries(zip_t* archive, std::vector<ZipEntry>& entries, std::string& error);

// Reads the entries of the archive in `input` that `layout` describes, libzip given a slice of
// its central records at a time (it holds several hundred bytes for each entry it knows):
// `each(first, entries, archive)` receives the entries of the records from `first` while
// libzip still has them open. False with `error` when a slice cannot be opened (`opened`
// false; the error names `path`) or an entry cannot be read (`opened` true); a slice that
// cannot be opened counts before an entry of an earlier one that cannot be read, as when the
// archive was opened whole. After an entry that cannot be read, `each` is not called again.
bool ReadZipEntriesBySlice(
    const RandomAccessInput& input, const ZipLayout& layout, const std::filesystem::path& path,
    const std::function<void(std::size_t, const std::vector<ZipEntry>&, zip_t*)>& each,
    bool& opened, std::string& error);

// The extended-timestamp extra field (0x5455) holding a modification time.
std::vector<std::uint8_t> ExtendedTimestamp(std::int64_t unixTime);

}  // namespace archiver
