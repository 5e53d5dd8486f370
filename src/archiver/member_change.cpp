#include "archiver/member_change.h"

namespace archiver {

bool FileChangedSince(const SourceFile& file, const MemberStamp& member) {
    constexpr std::int64_t kDaylightShift = 3600;
    if (file.size != member.originalSize) return true;
    if (member.exactTime) return file.modifiedTime > member.unixTime;
    const std::int64_t later =
        UnixFromDos(DosFromUnix(file.modifiedTime)) - UnixFromDos(member.dosTime);
    return later > 0 && later != kDaylightShift;
}

}  // namespace archiver
