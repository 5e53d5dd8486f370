#include "archiver/lzh_writer.h"

#include <algorithm>
#include <vector>

#include "archiver/crc16.h"
#include "archiver/lh5_encoder.h"

namespace archiver {
namespace {

constexpr std::uint64_t kNarrowLimit = 0xFFFFFFFFull;
constexpr std::size_t kChunk = 1 << 18;
// A member is stored once this much of it packs to this share of its size or more.
constexpr std::uint64_t kProbe = 1 << 17;
constexpr std::uint64_t kStoredPercent = 98;

bool NeedsWideSizes(const LzhMember& member) {
    return member.packedSize > kNarrowLimit || member.originalSize > kNarrowLimit;
}

}  // namespace

bool LzhWriter::WriteError(std::string& error) const {
    error = out_.error().empty() ? std::string("write failed") : out_.error();
    return false;
}

bool LzhWriter::WriteHeader(const LzhMember& member, bool wideSizes, std::string& error) {
    const std::vector<std::uint8_t> header = BuildLevel2Header(member, codePage_, wideSizes);
    if (header.empty()) {
        error = "cannot write the name of " + member.DisplayName();
        return false;
    }
    return out_.Write(header.data(), header.size()) || WriteError(error);
}

bool LzhWriter::CopyMember(const RandomAccessInput& from, const LzhMember& member,
                           std::string& error) {
    if (!WriteHeader(member, NeedsWideSizes(member), error)) return false;
    buffer_.resize(kChunk);
    std::vector<std::uint8_t>& buffer = buffer_;
    std::uint64_t offset = member.dataOffset;
    std::uint64_t left = member.packedSize;
    while (left > 0) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunk));
        if (!from.ReadAt(offset, buffer.data(), count)) {
            error = "cannot read the old archive";
            return false;
        }
        if (!out_.Write(buffer.data(), count)) return WriteError(error);
        offset += count;
        left -= count;
    }
    return true;
}

bool LzhWriter::AddFile(const SourceFile& file, std::string& error) {
    LzhMember member;
    member.methodId = "-lh5-";
    member.method = LzhMethod::kLh5;
    member.path = file.path;
    member.unixTime = file.modifiedTime;
    member.exactTime = true;
    member.originalSize = file.size;
    member.packedSize = file.size;
    // The header's layout is fixed before the data: its size fields are patched afterwards.
    const bool wide = file.size > kNarrowLimit;
    const std::uint64_t headerAt = out_.position();
    if (!WriteHeader(member, wide, error)) return false;
    const std::uint64_t dataAt = out_.position();
    held_ = false;
    if (file.size == 0 || !Compress(file, member, error) ||
        member.packedSize >= member.originalSize) {
        if (!error.empty()) return false;
        if (!out_.TruncateTo(dataAt)) return WriteError(error);
        member.methodId = "-lh0-";
        member.method = LzhMethod::kStored;
        if (held_) {
            // The file was read whole by the attempt to compress it: no second read.
            if (!out_.Write(buffer_.data(), static_cast<std::size_t>(member.originalSize)))
                return WriteError(error);
            member.packedSize = member.originalSize;
        } else if (!Store(file, member, error)) {
            return false;
        }
    }
    if (!wide && NeedsWideSizes(member)) {
        error = file.hostPath.string() + ": grew past 4 GB while it was read";
        return false;
    }
    const std::vector<std::uint8_t> header = BuildLevel2Header(member, codePage_, wide);
    return out_.WriteAt(headerAt, header.data(), header.size()) || WriteError(error);
}

// False without an error text when stored is better: an empty file, or one
// whose first part (the probe) packs to nearly its own size, as compressed
// media and archives do. Giving up early saves coding the rest in vain.
bool LzhWriter::Compress(const SourceFile& file, LzhMember& member, std::string& error) {
    if (!encoder_) {
        encoder_ = std::make_unique<Lh5Encoder>(
            [this](const std::uint8_t* data, std::size_t size) { return out_.Write(data, size); });
    } else {
        encoder_->Reset();
    }
    Lh5Encoder& encoder = *encoder_;
    bool storedIsBetter = false;
    const bool read = Pass(file, member, error, [&](const std::uint8_t* data, std::size_t size) {
        if (!encoder.Write(data, size)) return false;
        const std::uint64_t in = encoder.codedInput();
        storedIsBetter = in >= kProbe && encoder.codedOutput() * 100 >= in * kStoredPercent;
        return !storedIsBetter;
    });
    if (storedIsBetter) {
        error.clear();
        return false;
    }
    if (!read) return false;
    if (!encoder.Finish()) return WriteError(error);
    member.packedSize = encoder.packedSize();
    return member.originalSize > 0;
}

bool LzhWriter::Store(const SourceFile& file, LzhMember& member, std::string& error) {
    if (!Pass(file, member, error, [this](const std::uint8_t* data, std::size_t size) {
            return out_.Write(data, size);
        })) {
        return false;
    }
    member.packedSize = member.originalSize;
    return true;
}

bool LzhWriter::Pass(const SourceFile& file, LzhMember& member, std::string& error,
                     const std::function<bool(const std::uint8_t*, std::size_t)>& sink) {
    InputFile input;
    if (!input.Open(file.hostPath, error)) return false;
    buffer_.resize(kChunk);
    std::vector<std::uint8_t>& buffer = buffer_;
    std::uint16_t crc = 0;
    std::uint64_t total = 0;
    int chunks = 0;
    held_ = false;
    for (;;) {
        const long long got = input.Read(buffer.data(), buffer.size(), error);
        if (got < 0) return false;
        if (got == 0) break;
        ++chunks;
        const auto size = static_cast<std::size_t>(got);
        crc = UpdateCrc16(crc, buffer.data(), size);
        total += size;
        if (!sink(buffer.data(), size)) return WriteError(error);
    }
    member.originalSize = total;
    member.crc = crc;
    held_ = chunks == 1;
    return true;
}

bool LzhWriter::Finish(std::string& error) {
    const std::uint8_t end = 0;
    return out_.Write(&end, 1) || WriteError(error);
}

}  // namespace archiver
