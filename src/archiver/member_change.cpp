#include "archiver/member_change.h"

namespace archiver {

bool FileChangedSince(std::uint64_t size, std::int64_t modifiedTime, const MemberStamp& member) {
    constexpr std::int64_t kDaylightShift = 3600;
    if (size != member.originalSize) return true;
    if (member.exactTime) return modifiedTime > member.unixTime;
    const std::int64_t later = UnixFromDos(DosFromUnix(modifiedTime)) - UnixFromDos(member.dosTime);
    return later > 0 && later != kDaylightShift;
}

}  // namespace archiver
