// Whether a walked file has changed since its member was stored, for the updates that replace
// only changed members.
#pragma once

#include <cstdint>

#include "archiver/dos_time.h"
#include "archiver/folder_walker.h"

namespace archiver {

// What a member records about its file.
struct MemberStamp {
    std::uint64_t originalSize = 0;
    bool exactTime = false;     // Unix seconds; otherwise only the MS-DOS time is known
    std::int64_t unixTime = 0;  // when exactTime
    DosDateTime dosTime;        // local time, two-second steps
};

// A different size always means changed. Otherwise the file is changed when it is newer:
// in whole seconds against an exact time; against an MS-DOS time in its two-second steps,
// where a difference of exactly one hour is a daylight-saving shift of the local time and
// not a change.
bool FileChangedSince(std::uint64_t size, std::int64_t modifiedTime, const MemberStamp& member);
inline bool FileChangedSince(const SourceFile& file, const MemberStamp& member) {
    return FileChangedSince(file.size, file.modifiedTime, member);
}

}  // namespace archiver
