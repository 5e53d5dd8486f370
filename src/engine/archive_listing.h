#pragma once

#include "platform/path_kinds.h"

#include <QString>

#include <cstdint>
#include <vector>

// The members of an LZH or ZIP archive, read through the archiver's listing
// calls (open, find first, find next, close).
namespace engine {

struct ArchiveMember {
    QString name;  // "\"-separated relative path as stored; a folder ends with "\"
    std::uint64_t originalSize = 0;
    std::uint64_t compressedSize = 0;
    std::uint16_t dosDate = 0;  // MS-DOS date and time, local time of the archived file
    std::uint16_t dosTime = 0;

    bool IsFolder() const { return name.endsWith(u'\\'); }
};

struct ArchiveListing {
    bool opened = false;  // false: missing, unreadable or not an archive of its kind
    // In the order the archive holds them. A damaged archive gives the members
    // before the damage.
    std::vector<ArchiveMember> members;
};

// Lists an archive by its drive path; the kind is its extension
// ("LZH", anything else is read as ZIP).
ArchiveListing ListArchive(const platform::DrivePath& archive);

// "yy/mm/dd hh:mm:ss" of an MS-DOS date and time, every part two digits (the
// year keeps its last two, seconds are even).
QString ListingDateTime(std::uint16_t dosDate, std::uint16_t dosTime);

}  // namespace engine
