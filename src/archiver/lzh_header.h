// Reading LZH headers of levels 0 to 3, and writing level-2 headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archiver/lzh_member.h"
#include "archiver/random_access_input.h"

namespace archiver {

enum class HeaderStatus { kMember, kEnd, kDamaged };

// Reads the header at `offset`. kEnd at the end-of-archive byte or at the end of the input;
// kDamaged (with `error`) for a header that is truncated, fails its checksum or CRC, is of an
// unknown level, or whose data runs past the end of the input. On kMember, `next` is the
// offset of the following header.
HeaderStatus ReadLzhHeader(const RandomAccessInput& input, std::uint64_t offset, LzhMember& member,
                           std::uint64_t& next, std::string& error);

// kUndeclared: the name's bytes as they are, without a code-page extension (host names that
// are not UTF-8 and not CP932 either).
enum class NameCodePage : std::uint32_t { kUndeclared = 0, kCp932 = 932, kUtf8 = 65001 };

// A level-2 header for the member. `wideSizes` adds the 64-bit size field; it is required
// when a size exceeds 32 bits. With kCp932 every UTF-8 path component must convert to CP932.
// A component that is not valid UTF-8 (a host name's own bytes) is written as it is.
// Empty on a name that cannot be written.
std::vector<std::uint8_t> BuildLevel2Header(const LzhMember& member, NameCodePage codePage,
                                            bool wideSizes);

}  // namespace archiver
