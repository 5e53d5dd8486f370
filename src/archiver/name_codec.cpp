#include "archiver/name_codec.h"

#include <algorithm>

#include <iconv.h>

#include <cstdint>
#include <vector>

namespace archiver {
namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Convert(const std::string& input) const {
        if (!valid()) return std::nullopt;
        std::vector<char> in(input.begin(), input.end());
        std::vector<char> out(input.size() * 4 + 8);
        char* inPointer = in.data();
        std::size_t inLeft = in.size();
        char* outPointer = out.data();
        std::size_t outLeft = out.size();
        if (iconv(handle_, &inPointer, &inLeft, &outPointer, &outLeft) ==
            static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(out.data(), out.size() - outLeft);
    }

  private:
    iconv_t handle_;
};

bool IsAscii(const std::string& bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            code = (code << 6) | (d & 0x3F);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (extra == 3 && (code < 0x10000 || code > 0x10FFFF))) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

std::optional<std::string> Utf8ToCp932(const std::string& utf8) {
    if (IsAscii(utf8)) return utf8;
    const Converter toCp932("CP932", "UTF-8");
    const std::optional<std::string> cp932 = toCp932.Convert(utf8);
    if (!cp932) return std::nullopt;
    const std::optional<std::string> back = Cp932ToUtf8(*cp932);
    if (!back || *back != utf8) return std::nullopt;
    return cp932;
}

std::optional<std::string> Cp932ToUtf8(const std::string& cp932) {
    if (IsAscii(cp932)) return cp932;
    const Converter toUtf8("UTF-8", "CP932");
    return toUtf8.Convert(cp932);
}

std::string DecodeLegacyName(const std::string& bytes) {
    if (IsAscii(bytes)) return bytes;
    // Valid UTF-8 alone proves nothing: CP932 half-width katakana pairs are valid two-byte
    // UTF-8. A sequence of three or four bytes (Japanese text) does.
    const bool utf8 = IsValidUtf8(bytes);
    const bool longSequence = std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
    if (utf8 && longSequence) return bytes;
    if (std::optional<std::string> decoded = Cp932ToUtf8(bytes)) return *decoded;
    return bytes;
}

}  // namespace archiver
