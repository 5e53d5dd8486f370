// MS-DOS date and time (local time, two-second steps) and their conversion from Unix time.
#pragma once

#include <cstdint>

namespace archiver {

struct DosDateTime {
    std::uint16_t date = 0;
    std::uint16_t time = 0;
    std::uint32_t packed() const { return (std::uint32_t{date} << 16) | time; }
};

// Times before 1980 become 1980-01-01 00:00:00; after 2107 the last representable time.
DosDateTime DosFromUnix(std::int64_t unixTime);
std::int64_t UnixFromDos(DosDateTime dos);

}  // namespace archiver
