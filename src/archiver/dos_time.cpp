#include "archiver/dos_time.h"

#include <ctime>

namespace archiver {

DosDateTime DosFromUnix(std::int64_t unixTime) {
    const std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr || local.tm_year < 80) return {0x21, 0};
    if (local.tm_year > 80 + 127) return {0xFF9F, 0xBF7D};
    DosDateTime dos;
    dos.date = static_cast<std::uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) |
                                          local.tm_mday);
    dos.time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                          (local.tm_sec / 2));
    return dos;
}

std::int64_t UnixFromDos(DosDateTime dos) {
    std::tm local{};
    local.tm_year = ((dos.date >> 9) & 0x7F) + 80;
    local.tm_mon = ((dos.date >> 5) & 0x0F) - 1;
    local.tm_mday = dos.date & 0x1F;
    local.tm_hour = (dos.time >> 11) & 0x1F;
    local.tm_min = (dos.time >> 5) & 0x3F;
    local.tm_sec = (dos.time & 0x1F) * 2;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    return t == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(t);
}

}  // namespace archiver
