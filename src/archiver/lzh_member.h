// One member of an LZH archive as this library sees it, whatever header level it came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archiver/dos_time.h"
#include "archiver/lzh_method.h"

namespace archiver {

struct LzhMember {
    std::string methodId;             // as stored, e.g. "-lh5-"
    std::optional<LzhMethod> method;  // nullopt for methods this library cannot decode
    std::uint64_t packedSize = 0;
    std::uint64_t originalSize = 0;
    std::uint16_t crc = 0;           // CRC-16 of the original data
    std::int64_t unixTime = 0;       // modification time
    bool exactTime = false;          // stored in seconds; otherwise in MS-DOS two-second steps
    DosDateTime dosTime;             // local time as listed
    std::vector<std::string> path;   // UTF-8 components, folders first
    bool unsafePath = false;         // "..", ".", empty components, absolute or drive paths
    std::uint64_t headerOffset = 0;  // where the header starts in the archive
    std::uint64_t dataOffset = 0;    // where the packed data starts in the archive

    bool isDirectory() const { return method == LzhMethod::kDirectory; }
    // "\"-separated; a folder ends with "\".
    std::string DisplayName() const;
};

}  // namespace archiver
