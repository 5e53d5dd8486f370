// Member-name conversions between UTF-8 and Windows code page 932 (glibc iconv "CP932").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace archiver {

bool IsValidUtf8(std::string_view bytes);
// The CP932 bytes of a UTF-8 text, or nullopt when the text does not survive the round trip
// (characters CP932 lacks, or ones it maps to a different character on the way back).
std::optional<std::string> Utf8ToCp932(const std::string& utf8);
std::optional<std::string> Cp932ToUtf8(const std::string& cp932);
// A stored name without a declared code page (LZH without a code-page extension, ZIP without
// the UTF-8 flag): UTF-8 when valid with a sequence of three or four bytes, else CP932 when it
// decodes, else the bytes as they are (valid UTF-8 of two-byte sequences, or a host name of
// other bytes, which the caller maps into its own text type).
std::string DecodeLegacyName(const std::string& bytes);

}  // namespace archiver
