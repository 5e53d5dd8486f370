#include "archiver/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "archiver/dos_time.h"
#include "archiver/little_endian.h"
#include "archiver/name_codec.h"
#include "archiver/zip_entries.h"

namespace archiver {
namespace {

constexpr std::uint32_t kWide32 = 0xFFFFFFFF;
constexpr std::uint16_t kUtf8NameFlag = 0x0800;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kMadeByUnix = 0x033F;  // Unix, version 6.3
constexpr std::uint32_t kRegularFileAttributes = 0100666u << 16;
constexpr std::size_t kChunk = 1 << 18;

void Append16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    const std::size_t at = out.size();
    out.resize(at + 2);
    le::Put16(&out[at], v);
}
void Append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    const std::size_t at = out.size();
    out.resize(at + 4);
    le::Put32(&out[at], v);
}
void Append64(std::vector<std::uint8_t>& out, std::uint64_t v) {
    const std::size_t at = out.size();
    out.resize(at + 8);
    le::Put64(&out[at], v);
}
void AppendBytes(std::vector<std::uint8_t>& out, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

std::uint32_t Narrow(std::uint64_t value) {
    return value >= kWide32 ? kWide32 : static_cast<std::uint32_t>(value);
}

bool HasNonAscii(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

std::string ZipName(const std::vector<std::string>& components) {
    std::string name;
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) name += '/';
        name += components[i];
    }
    return name;
}

// What a new member's local header and central record share.
struct NewMember {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t needed = 20;
    DosDateTime time;
    std::vector<std::uint8_t> timestamp;
    std::uint32_t crc = 0;
    std::uint64_t originalSize = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t offset = 0;
};

void AppendCommon(std::vector<std::uint8_t>& out, const NewMember& member) {
    Append16(out, member.needed);
    Append16(out, member.flags);
    Append16(out, kDeflated);
    Append16(out, member.time.time);
    Append16(out, member.time.date);
}

std::vector<std::uint8_t> LocalHeader(const NewMember& member, bool zip64) {
    std::vector<std::uint8_t> out = {'P', 'K', 3, 4};
    AppendCommon(out, member);
    Append32(out, member.crc);
    Append32(out, zip64 ? kWide32 : static_cast<std::uint32_t>(member.compressedSize));
    Append32(out, zip64 ? kWide32 : static_cast<std::uint32_t>(member.originalSize));
    Append16(out, static_cast<std::uint16_t>(member.name.size()));
    Append16(out, static_cast<std::uint16_t>((zip64 ? 20 : 0) + 4 + member.timestamp.size()));
    AppendBytes(out, member.name.data(), member.name.size());
    if (zip64) {
        Append16(out, 0x0001);
        Append16(out, 16);
        Append64(out, member.originalSize);
        Append64(out, member.compressedSize);
    }
    Append16(out, 0x5455);
    Append16(out, static_cast<std::uint16_t>(member.timestamp.size()));
    AppendBytes(out, member.timestamp.data(), member.timestamp.size());
    return out;
}

std::vector<std::uint8_t> CentralRecord(const NewMember& member) {
    std::vector<std::uint8_t> wide;
    if (member.originalSize >= kWide32) Append64(wide, member.originalSize);
    if (member.compressedSize >= kWide32) Append64(wide, member.compressedSize);
    if (member.offset >= kWide32) Append64(wide, member.offset);
    std::vector<std::uint8_t> out = {'P', 'K', 1, 2};
    Append16(out, kMadeByUnix);
    AppendCommon(out, member);
    Append32(out, member.crc);
    Append32(out, Narrow(member.compressedSize));
    Append32(out, Narrow(member.originalSize));
    Append16(out, static_cast<std::uint16_t>(member.name.size()));
    Append16(out, static_cast<std::uint16_t>((wide.empty() ? 0 : 4 + wide.size()) + 4 +
                                             member.timestamp.size()));
    Append16(out, 0);  // comment
    Append16(out, 0);  // disk
    Append16(out, 0);  // internal attributes
    Append32(out, kRegularFileAttributes);
    Append32(out, Narrow(member.offset));
    AppendBytes(out, member.name.data(), member.name.size());
    if (!wide.empty()) {
        Append16(out, 0x0001);
        Append16(out, static_cast<std::uint16_t>(wide.size()));
        AppendBytes(out, wide.data(), wide.size());
    }
    Append16(out, 0x5455);
    Append16(out, static_cast<std::uint16_t>(member.timestamp.size()));
    AppendBytes(out, member.timestamp.data(), member.timestamp.size());
    return out;
}

}  // namespace

// One raw deflate stream reused for every member: a tree of small files would otherwise
// spend its time setting up fresh tables.
struct ZipWriter::Deflater {
    z_stream stream{};
    bool ready = false;
    ~Deflater() {
        if (ready) deflateEnd(&stream);
    }
    bool Reset() {
        if (ready) return deflateReset(&stream) == Z_OK;
        ready = deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        return ready;
    }
};

ZipWriter::ZipWriter(OutputFile& out) : out_(out), deflater_(std::make_unique<Deflater>()) {}

ZipWriter::~ZipWriter() = default;

bool ZipWriter::WriteError(std::string& error) const {
    error = out_.error();
    return false;
}

bool ZipWriter::CopyBytes(const RandomAccessInput& from, std::uint64_t begin, std::uint64_t end,
                          std::string& error) {
    buffer_.resize(kChunk);
    while (begin < end) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - begin));
        if (!from.ReadAt(begin, buffer_.data(), size)) {
            error = "cannot read the old archive";
            return false;
        }
        if (!out_.Write(buffer_.data(), size)) return WriteError(error);
        begin += size;
    }
    return true;
}

bool ZipWriter::CopyMember(const RandomAccessInput& from, const ZipLayout& layout, std::size_t i,
                           std::vector<std::uint8_t>& central, std::string& error) {
    const std::span<const std::uint8_t> raw = layout.Raw(i);
    central.assign(raw.begin(), raw.end());
    if (!RelocateCentralRecord(central, out_.position(), error)) {
        error = "「" + layout.RawName(i) + "」: " + error;
        return false;
    }
    return CopyBytes(from, layout.records[i].spanStart, layout.records[i].spanEnd, error);
}

bool ZipWriter::CopyMember(const RandomAccessInput& from, const ZipLayout& layout, std::size_t i,
                           std::uint64_t& offset, std::string& error) {
    offset = out_.position();
    return CopyMember(from, layout, i, scratch_, error);
}

bool ZipWriter::AddFile(const SourceFile& file, std::vector<std::uint8_t>& central,
                        std::string& error) {
    constexpr std::uint64_t kNarrowLimit = kWide32;
    const std::uint64_t start = out_.position();
    Outcome outcome = WriteFile(file, file.size >= kNarrowLimit, central, error);
    if (outcome == Outcome::kNeedsZip64) {
        // It grew past what the narrow fields hold while it was read: written again wide.
        if (!out_.TruncateTo(start)) return WriteError(error);
        outcome = WriteFile(file, true, central, error);
    }
    return outcome == Outcome::kDone;
}

ZipWriter::Outcome ZipWriter::WriteFile(const SourceFile& file, bool zip64,
                                        std::vector<std::uint8_t>& central, std::string& error) {
    NewMember member;
    member.name = ZipName(file.path);
    if (member.name.size() > 0xFFFF) {
        error = file.hostPath + ": the name is too long for a ZIP archive";
        return Outcome::kFailed;
    }
    member.flags = IsValidUtf8(member.name) && HasNonAscii(member.name) ? kUtf8NameFlag : 0;
    member.needed = zip64 ? 45 : 20;
    member.time = DosFromUnix(file.modifiedTime);
    member.timestamp = ExtendedTimestamp(file.modifiedTime);
    member.offset = out_.position();
    const std::vector<std::uint8_t> placeholder = LocalHeader(member, zip64);
    if (!out_.Write(placeholder.data(), placeholder.size())) {
        WriteError(error);
        return Outcome::kFailed;
    }
    InputFile input;
    if (!input.Open(file.hostPath, error) || !deflater_->Reset()) {
        if (error.empty()) error = file.hostPath + ": cannot start compressing";
        return Outcome::kFailed;
    }
    buffer_.resize(kChunk);
    std::vector<std::uint8_t> packed(kChunk);
    z_stream& stream = deflater_->stream;
    uLong crc = crc32(0, nullptr, 0);
    for (bool finished = false; !finished;) {
        const long long got = input.Read(buffer_.data(), buffer_.size(), error);
        if (got < 0) return Outcome::kFailed;
        crc = crc32(crc, buffer_.data(), static_cast<uInt>(got));
        member.originalSize += static_cast<std::uint64_t>(got);
        finished = got == 0;
        stream.next_in = buffer_.data();
        stream.avail_in = static_cast<uInt>(got);
        int result = Z_OK;
        do {
            stream.next_out = packed.data();
            stream.avail_out = static_cast<uInt>(packed.size());
            result = deflate(&stream, finished ? Z_FINISH : Z_NO_FLUSH);
            const std::size_t produced = packed.size() - stream.avail_out;
            member.compressedSize += produced;
            if (!out_.Write(packed.data(), produced)) {
                WriteError(error);
                return Outcome::kFailed;
            }
        } while (stream.avail_out == 0 || (finished && result != Z_STREAM_END));
    }
    member.crc = static_cast<std::uint32_t>(crc);
    if (!zip64 && (member.originalSize >= kWide32 || member.compressedSize >= kWide32)) {
        return Outcome::kNeedsZip64;
    }
    const std::vector<std::uint8_t> header = LocalHeader(member, zip64);
    if (!out_.WriteAt(member.offset, header.data(), header.size())) {
        WriteError(error);
        return Outcome::kFailed;
    }
    central = CentralRecord(member);
    return Outcome::kDone;
}

bool ZipWriter::Finish(const std::vector<std::vector<std::uint8_t>>& records, const ZipLayout& old,
                       std::string& error) {
    return Finish(
        records.size(),
        [&](std::size_t i, std::vector<std::uint8_t>& bytes) { bytes = records[i]; }, old, error);
}

bool ZipWriter::Finish(std::size_t count,
                       const std::function<void(std::size_t, std::vector<std::uint8_t>&)>& record,
                       const ZipLayout& old, std::string& error) {
    const std::uint64_t directoryStart = out_.position();
    for (std::size_t i = 0; i < count; ++i) {
        record(i, scratch_);
        if (!out_.Write(scratch_.data(), scratch_.size())) return WriteError(error);
    }
    const std::uint64_t directorySize = out_.position() - directoryStart;
    std::vector<std::uint8_t> end;
    if (old.zip64End || count >= 0xFFFF || directorySize >= kWide32 || directoryStart >= kWide32) {
        const std::uint64_t zip64At = out_.position();
        AppendBytes(end, "PK\6\6", 4);
        Append64(end, 44);
        Append16(end, old.zip64End ? old.zip64MadeBy : kMadeByUnix);
        Append16(end, 45);
        Append32(end, 0);
        Append32(end, 0);
        Append64(end, count);
        Append64(end, count);
        Append64(end, directorySize);
        Append64(end, directoryStart);
        AppendBytes(end, "PK\6\7", 4);
        Append32(end, 0);
        Append64(end, zip64At);
        Append32(end, 1);
    }
    const auto narrowCount = static_cast<std::uint16_t>(std::min<std::uint64_t>(count, 0xFFFF));
    AppendBytes(end, "PK\5\6", 4);
    Append16(end, 0);
    Append16(end, 0);
    Append16(end, narrowCount);
    Append16(end, narrowCount);
    Append32(end, Narrow(directorySize));
    Append32(end, Narrow(directoryStart));
    Append16(end, static_cast<std::uint16_t>(old.comment.size()));
    AppendBytes(end, old.comment.data(), old.comment.size());
    if (!out_.Write(end.data(), end.size())) return WriteError(error);
    return true;
}

}  // namespace archiver
