#include "archiver/lzh_header.h"

#include <algorithm>
#include <cstring>

#include "archiver/crc16.h"
#include "archiver/name_codec.h"

namespace archiver {
namespace {

constexpr std::size_t kMaxExtensionTotal = 1 << 20;  // level 1 extensions, against runaway chains

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t Le64(const std::uint8_t* p) {
    return Le32(p) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
}

// What the extension headers and the base header say about a member, before it is assembled.
struct RawHeader {
    std::string baseName;   // level 0/1 name field
    std::string fileName;   // extension 0x01
    std::string directory;  // extension 0x02
    bool hasFileName = false;
    bool hasDirectory = false;
    std::uint32_t codePage = 0;
    std::size_t crcFieldAt = 0;  // position of the header CRC in the header bytes, 0 = none
    std::uint16_t headerCrc = 0;
    bool hasWideSizes = false;
    std::uint64_t widePacked = 0;
    std::uint64_t wideOriginal = 0;
    bool hasUnixTime = false;
    std::int64_t unixTime = 0;
    bool hasWindowsTime = false;
    std::int64_t windowsTime = 0;
};

void ReadExtension(const std::uint8_t* ext, std::size_t dataSize, std::size_t at, RawHeader& raw) {
    const std::uint8_t type = ext[0];
    const std::uint8_t* data = ext + 1;
    switch (type) {
        case 0x00:
            if (dataSize >= 2) {
                raw.crcFieldAt = at + 1;
                raw.headerCrc = Le16(data);
            }
            break;
        case 0x01:
            raw.fileName.assign(reinterpret_cast<const char*>(data), dataSize);
            raw.hasFileName = true;
            break;
        case 0x02:
            raw.directory.assign(reinterpret_cast<const char*>(data), dataSize);
            raw.hasDirectory = true;
            break;
        case 0x41:
            if (dataSize >= 24) {
                const std::uint64_t fileTime = Le64(data + 8);
                raw.windowsTime = static_cast<std::int64_t>(fileTime / 10000000) - 11644473600LL;
                raw.hasWindowsTime = fileTime != 0;
            }
            break;
        case 0x42:
            if (dataSize >= 16) {
                raw.hasWideSizes = true;
                raw.widePacked = Le64(data);
                raw.wideOriginal = Le64(data + 8);
            }
            break;
        case 0x46:
            if (dataSize >= 4) raw.codePage = Le32(data);
            break;
        case 0x54:
            if (dataSize >= 4) {
                raw.hasUnixTime = true;
                raw.unixTime = Le32(data);
            }
            break;
        default:
            break;
    }
}

// Walks the extension chain inside `header` from `at`; false when it leaves the header.
// Each extension ends with the size of the next one, in `sizeBytes` bytes (2; 4 at level 3).
bool ReadExtensionsInside(const std::vector<std::uint8_t>& header, std::size_t at,
                          std::uint64_t firstSize, std::size_t sizeBytes, RawHeader& raw) {
    std::uint64_t size = firstSize;
    while (size != 0) {
        if (size < 1 + sizeBytes || size > header.size() - at) return false;
        const std::size_t length = static_cast<std::size_t>(size);
        ReadExtension(header.data() + at, length - 1 - sizeBytes, at, raw);
        const std::uint8_t* next = header.data() + at + length - sizeBytes;
        at += length;
        size = sizeBytes == 4 ? Le32(next) : Le16(next);
    }
    return true;
}

std::string DecodeComponent(const std::string& bytes, std::uint32_t codePage) {
    if (codePage == 932) {
        if (std::optional<std::string> utf8 = Cp932ToUtf8(bytes)) return *utf8;
    }
    if (codePage == 65001 && IsValidUtf8(bytes)) return bytes;
    return DecodeLegacyName(bytes);
}

// Splits a decoded name on "\" and "/"; an empty piece (a leading separator, a doubled one)
// stays, so that the path is marked unsafe.
void AppendSplit(const std::string& text, std::vector<std::string>& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\\' || text[i] == '/') {
            path.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
}

void AssemblePath(const RawHeader& raw, int level, LzhMember& member) {
    std::vector<std::string>& path = member.path;
    path.clear();
    if (raw.hasDirectory && !raw.directory.empty()) {
        std::string directory = raw.directory;
        if (directory.back() == '\xFF') directory.pop_back();
        std::size_t start = 0;
        for (std::size_t i = 0; i <= directory.size(); ++i) {
            if (i == directory.size() || directory[i] == '\xFF') {
                AppendSplit(DecodeComponent(directory.substr(start, i - start), raw.codePage),
                            path);
                start = i + 1;
            }
        }
    }
    std::string name = raw.hasFileName ? raw.fileName : (level < 2 ? raw.baseName : "");
    // Amiga tools put a comment after a zero byte in the name, in the base header's field
    // and in the name extension alike: the name ends at the zero byte.
    name.resize(std::min(name.size(), name.find('\0')));
    std::replace(name.begin(), name.end(), '\xFF', '\\');
    if (!name.empty()) AppendSplit(DecodeComponent(name, raw.codePage), path);
    // Some MS-DOS and Macintosh tools begin names with a separator: the name is relative all
    // the same, as other readers take it.
    while (path.size() > 1 && path.front().empty()) path.erase(path.begin());
    // Amiga tools store an empty folder as an empty stored member whose name ends with "/".
    if (member.method == LzhMethod::kStored && member.originalSize == 0 && path.size() > 1 &&
        path.back().empty()) {
        member.method = LzhMethod::kDirectory;
    }
    // A folder entry may end with a separator.
    if (member.isDirectory() && path.size() > 1 && path.back().empty()) path.pop_back();
    member.unsafePath = path.empty();
    for (const std::string& component : path) {
        if (component.empty() || component == "." || component == ".." ||
            component.find(':') != std::string::npos || component.find('\0') != std::string::npos) {
            member.unsafePath = true;
        }
    }
}

bool Fail(std::string& error, const std::string& text) {
    error = text;
    return false;
}

bool CheckHeaderCrc(std::vector<std::uint8_t> header, const RawHeader& raw, std::string& error) {
    if (raw.crcFieldAt == 0) return true;
    header[raw.crcFieldAt] = 0;
    header[raw.crcFieldAt + 1] = 0;
    if (UpdateCrc16(0, header.data(), header.size()) != raw.headerCrc) {
        return Fail(error, "header CRC mismatch");
    }
    return true;
}

bool CheckSum(const std::vector<std::uint8_t>& header, std::size_t baseSize, std::string& error) {
    std::uint8_t sum = 0;
    for (std::size_t i = 2; i < baseSize; ++i) sum = static_cast<std::uint8_t>(sum + header[i]);
    return sum == header[1] ? true : Fail(error, "header checksum mismatch");
}

// Level 0 and 1 share the base header; level 1 adds an extension chain after it.
bool ReadLevel01(const RandomAccessInput& input, std::uint64_t offset, int level,
                 std::vector<std::uint8_t>& header, RawHeader& raw, std::uint64_t& headerSize,
                 std::uint64_t& packed, std::string& error) {
    const std::size_t baseSize = std::size_t{header[0]} + 2;
    if (baseSize < 24) return Fail(error, "header too short");
    header.resize(baseSize);
    if (!input.ReadAt(offset, header.data(), baseSize)) return Fail(error, "header truncated");
    if (!CheckSum(header, baseSize, error)) return false;
    const std::size_t nameLength = header[21];
    const std::size_t minimum = 24 + nameLength + (level == 1 ? 3 : 0);
    if (baseSize < minimum) return Fail(error, "name runs past the header");
    raw.baseName.assign(reinterpret_cast<const char*>(header.data() + 22), nameLength);
    packed = Le32(header.data() + 7);
    if (level == 0) {
        const std::size_t extra = 24 + nameLength;
        if (baseSize >= extra + 6 && header[extra] == 'U') {
            raw.hasUnixTime = true;
            raw.unixTime = Le32(header.data() + extra + 2);
        }
        headerSize = baseSize;
        return true;
    }
    std::size_t size = Le16(header.data() + baseSize - 2);
    std::uint64_t extensions = 0;
    while (size != 0) {
        if (size < 3 || extensions + size > kMaxExtensionTotal) {
            return Fail(error, "bad extension header size");
        }
        const std::size_t at = header.size();
        header.resize(at + size);
        if (!input.ReadAt(offset + at, header.data() + at, size)) {
            return Fail(error, "extension header truncated");
        }
        ReadExtension(header.data() + at, size - 3, at, raw);
        extensions += size;
        size = Le16(header.data() + at + size - 2);
    }
    if (raw.hasWideSizes) packed = raw.widePacked;
    if (packed < extensions) return Fail(error, "extension headers exceed the member size");
    packed -= extensions;
    headerSize = header.size();
    return true;
}

bool ReadLevel2(const RandomAccessInput& input, std::uint64_t offset,
                std::vector<std::uint8_t>& header, RawHeader& raw, std::uint64_t& headerSize,
                std::uint64_t& packed, std::string& error) {
    const std::size_t total = Le16(header.data());
    if (total < 26) return Fail(error, "header too short");
    header.resize(total);
    if (!input.ReadAt(offset, header.data(), total)) return Fail(error, "header truncated");
    if (!ReadExtensionsInside(header, 26, Le16(header.data() + 24), 2, raw)) {
        return Fail(error, "extension header runs past the header");
    }
    packed = raw.hasWideSizes ? raw.widePacked : Le32(header.data() + 7);
    headerSize = total;
    return true;
}

// Level 3: the base header of level 2 with 32-bit header and extension sizes; the first two
// bytes hold the size unit (4) instead of the header size.
bool ReadLevel3(const RandomAccessInput& input, std::uint64_t offset,
                std::vector<std::uint8_t>& header, RawHeader& raw, std::uint64_t& headerSize,
                std::uint64_t& packed, std::string& error) {
    if (Le16(header.data()) != 4) return Fail(error, "unknown level 3 size unit");
    header.resize(32);
    if (!input.ReadAt(offset, header.data(), 32)) return Fail(error, "header truncated");
    const std::uint32_t total = Le32(header.data() + 24);
    if (total < 32) return Fail(error, "header too short");
    if (total > kMaxExtensionTotal) return Fail(error, "header too long");
    header.resize(total);
    if (!input.ReadAt(offset, header.data(), total)) return Fail(error, "header truncated");
    if (!ReadExtensionsInside(header, 32, Le32(header.data() + 28), 4, raw)) {
        return Fail(error, "extension header runs past the header");
    }
    packed = raw.hasWideSizes ? raw.widePacked : Le32(header.data() + 7);
    headerSize = total;
    return true;
}

}  // namespace

std::string LzhMember::DisplayName() const {
    std::string name;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0) name += '\\';
        name += path[i];
    }
    if (isDirectory()) name += '\\';
    return name;
}

HeaderStatus ReadLzhHeader(const RandomAccessInput& input, std::uint64_t offset, LzhMember& member,
                           std::uint64_t& next, std::string& error) {
    if (offset >= input.size()) return HeaderStatus::kEnd;
    std::vector<std::uint8_t> header(22);
    if (!input.ReadAt(offset, header.data(), 1)) return HeaderStatus::kDamaged;
    if (header[0] == 0) return HeaderStatus::kEnd;
    if (!input.ReadAt(offset, header.data(), 22)) {
        error = "header truncated";
        return HeaderStatus::kDamaged;
    }
    const int level = header[20];
    RawHeader raw;
    std::uint64_t headerSize = 0;
    std::uint64_t packed = 0;
    bool ok = false;
    if (level == 0 || level == 1) {
        ok = ReadLevel01(input, offset, level, header, raw, headerSize, packed, error);
    } else if (level == 2) {
        ok = ReadLevel2(input, offset, header, raw, headerSize, packed, error);
    } else if (level == 3) {
        ok = ReadLevel3(input, offset, header, raw, headerSize, packed, error);
    } else {
        error = "unknown header level " + std::to_string(level);
    }
    if (!ok || !CheckHeaderCrc(header, raw, error)) return HeaderStatus::kDamaged;

    member = LzhMember{};
    member.methodId.assign(reinterpret_cast<const char*>(header.data() + 2), 5);
    member.method = ParseLzhMethod(member.methodId);
    member.packedSize = packed;
    member.originalSize = raw.hasWideSizes ? raw.wideOriginal : Le32(header.data() + 11);
    if (level >= 2) {
        member.crc = Le16(header.data() + 21);
        member.unixTime = Le32(header.data() + 15);
        member.exactTime = true;
    } else {
        member.crc = Le16(header.data() + 22 + header[21]);
        member.dosTime = DosDateTime{Le16(header.data() + 17), Le16(header.data() + 15)};
        member.unixTime = UnixFromDos(member.dosTime);
    }
    if (raw.hasWindowsTime) {
        member.unixTime = raw.windowsTime;
        member.exactTime = true;
    } else if (raw.hasUnixTime) {
        member.unixTime = raw.unixTime;
        member.exactTime = true;
    }
    if (member.exactTime) member.dosTime = DosFromUnix(member.unixTime);
    AssemblePath(raw, level, member);

    member.headerOffset = offset;
    member.dataOffset = offset + headerSize;
    if (member.dataOffset > input.size() || packed > input.size() - member.dataOffset) {
        error = "member data runs past the end of the archive";
        return HeaderStatus::kDamaged;
    }
    if (member.method && IsStoredMethod(*member.method) &&
        member.packedSize != member.originalSize) {
        error = "stored member with different sizes";
        return HeaderStatus::kDamaged;
    }
    next = member.dataOffset + packed;
    return HeaderStatus::kMember;
}

namespace {

void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutLe32(std::vector<std::uint8_t>& out, std::uint64_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Appends one extension header and its successor's size field, which is zero until the next
// extension patches it.
void PutExtension(std::vector<std::uint8_t>& out, std::size_t& sizeFieldAt, std::uint8_t type,
                  const std::string& data) {
    const std::size_t size = 1 + data.size() + 2;
    out[sizeFieldAt] = static_cast<std::uint8_t>(size);
    out[sizeFieldAt + 1] = static_cast<std::uint8_t>(size >> 8);
    out.push_back(type);
    out.insert(out.end(), data.begin(), data.end());
    sizeFieldAt = out.size();
    PutLe16(out, 0);
}

std::string LeBytes(std::uint64_t v, int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += static_cast<char>(v >> (8 * i));
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> BuildLevel2Header(const LzhMember& member, NameCodePage codePage,
                                            bool wideSizes) {
    std::vector<std::string> encoded;
    for (const std::string& component : member.path) {
        if (codePage != NameCodePage::kCp932 || !IsValidUtf8(component)) {
            encoded.push_back(component);
            continue;
        }
        std::optional<std::string> bytes = Utf8ToCp932(component);
        if (!bytes) return {};
        encoded.push_back(*bytes);
    }
    if (encoded.empty()) return {};
    const bool directory = member.isDirectory();
    std::string fileName = directory ? std::string() : encoded.back();
    std::string folders;
    for (std::size_t i = 0; i + (directory ? 0 : 1) < encoded.size(); ++i) {
        folders += encoded[i];
        folders += '\xFF';
    }

    std::vector<std::uint8_t> out;
    PutLe16(out, 0);  // total size, patched below
    const std::string method = member.methodId.size() == 5 ? member.methodId : "-lh0-";
    out.insert(out.end(), method.begin(), method.end());
    PutLe32(out, member.packedSize);
    PutLe32(out, member.originalSize);
    PutLe32(out,
            static_cast<std::uint64_t>(std::clamp<std::int64_t>(member.unixTime, 0, 0xFFFFFFFF)));
    out.push_back(0x20);
    out.push_back(2);
    PutLe16(out, member.crc);
    out.push_back('U');
    std::size_t sizeFieldAt = out.size();
    PutLe16(out, 0);

    const std::size_t crcAt = out.size() + 1;
    PutExtension(out, sizeFieldAt, 0x00, std::string(2, '\0'));
    if (codePage != NameCodePage::kUndeclared) {
        PutExtension(out, sizeFieldAt, 0x46, LeBytes(static_cast<std::uint32_t>(codePage), 4));
    }
    PutExtension(out, sizeFieldAt, 0x01, fileName);
    if (!folders.empty()) PutExtension(out, sizeFieldAt, 0x02, folders);
    if (wideSizes) {
        PutExtension(out, sizeFieldAt, 0x42,
                     LeBytes(member.packedSize, 8) + LeBytes(member.originalSize, 8));
    }
    // A header whose size ends in 0x00 would read as the end of the archive.
    if ((out.size() & 0xFF) == 0) out.push_back(0);
    if (out.size() > 0xFFFF) return {};
    out[0] = static_cast<std::uint8_t>(out.size());
    out[1] = static_cast<std::uint8_t>(out.size() >> 8);
    const std::uint16_t crc = UpdateCrc16(0, out.data(), out.size());
    out[crcAt] = static_cast<std::uint8_t>(crc);
    out[crcAt + 1] = static_cast<std::uint8_t>(crc >> 8);
    return out;
}

}  // namespace archiver
