#include "archiver/lzh_writer.h"

#include <algorithm>
#include <vector>

#include "archiver/compressibility.h"
#include "archiver/crc16.h"
#include "archiver/lh5_encoder.h"
#include "archiver/lzh_stored_name.h"

namespace archiver {
namespace {

constexpr std::uint64_t kNarrowLimit = 0xFFFFFFFFull;
constexpr std::size_t kChunk = 1 << 18;
// Compression gives up once this much of a member packs to this share of its size or more.
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
    const std::vector<std::uint8_t> header =
        BuildLevel2Header(member, MemberCodePage(member.path, codePage_), wideSizes);
    if (header.empty()) {
        error = "cannot write the name of " + member.DisplayName();
        return false;
    }
    return out_.Write(header.data(), header.size()) || WriteError(error);
}

bool LzhWriter::CopyMember(const RandomAccessInput& from, const LzhMember& member,
                           std::string& error) {
    // A kept member is copied as it was read, header included: its level, OS id, attribute
    // and extension headers belong to the tool that wrote it.
    return CopyBytes(from, member.headerOffset,
                     member.dataOffset - member.headerOffset + member.packedSize, error);
}

bool LzhWriter::CopyBytes(const RandomAccessInput& from, std::uint64_t offset, std::uint64_t size,
                          std::string& error) {
    buffer_.resize(kChunk);
    std::vector<std::uint8_t>& buffer = buffer_;
    std::uint64_t left = size;
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
    if (StoreOrCompress(file, member, dataAt, error) == Outcome::kFailed) return false;
    if (!wide && NeedsWideSizes(member)) {
        error = file.hostPath + ": grew past 4 GB while it was read";
        return false;
    }
    const std::vector<std::uint8_t> header =
        BuildLevel2Header(member, MemberCodePage(member.path, codePage_), wide);
    return out_.WriteAt(headerAt, header.data(), header.size()) || WriteError(error);
}

// At most three passes over a file, each started afresh at `dataAt`: compress (giving up
// early on data that does not shrink), store while watching, compress in full when the
// watch saw enough to gain, and store once more only if even that did not shrink.
LzhWriter::Outcome LzhWriter::StoreOrCompress(const SourceFile& file, LzhMember& member,
                                              std::uint64_t dataAt, std::string& error) {
    const auto restart = [&] { return out_.TruncateTo(dataAt) || WriteError(error); };
    const auto stored = [&] {
        member.methodId = "-lh0-";
        member.method = LzhMethod::kStored;
    };
    held_ = false;
    if (file.size == 0) {
        stored();
        return Store(file, member, false, error);
    }
    Outcome outcome = Compress(file, member, true, error);
    if (outcome != Outcome::kStoreInstead) return outcome;
    if (!restart()) return Outcome::kFailed;
    stored();
    if (held_) {
        // The file was read whole by the attempt to compress it: no second read.
        if (!out_.Write(buffer_.data(), static_cast<std::size_t>(member.originalSize))) {
            WriteError(error);
            return Outcome::kFailed;
        }
        member.packedSize = member.originalSize;
        return Outcome::kDone;
    }
    outcome = Store(file, member, true, error);
    if (outcome != Outcome::kCompressInstead) return outcome;
    if (!restart()) return Outcome::kFailed;
    member.methodId = "-lh5-";
    member.method = LzhMethod::kLh5;
    outcome = Compress(file, member, false, error);
    if (outcome != Outcome::kStoreInstead) return outcome;
    if (!restart()) return Outcome::kFailed;
    stored();
    return Store(file, member, false, error);
}

LzhWriter::Outcome LzhWriter::Compress(const SourceFile& file, LzhMember& member, bool mayGiveUp,
                                       std::string& error) {
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
        storedIsBetter =
            mayGiveUp && in >= kProbe && encoder.codedOutput() * 100 >= in * kStoredPercent;
        return !storedIsBetter;
    });
    if (storedIsBetter) {
        error.clear();
        return Outcome::kStoreInstead;
    }
    if (!read) return Outcome::kFailed;
    if (!encoder.Finish()) {
        WriteError(error);
        return Outcome::kFailed;
    }
    member.packedSize = encoder.packedSize();
    return member.packedSize < member.originalSize ? Outcome::kDone : Outcome::kStoreInstead;
}

LzhWriter::Outcome LzhWriter::Store(const SourceFile& file, LzhMember& member, bool watch,
                                    std::string& error) {
    // Compressing is worth a further pass once it would save this share of the whole file.
    const double worthwhile = static_cast<double>(file.size) * (100 - kStoredPercent) / 100;
    double saving = 0;
    bool compressIsBetter = false;
    const bool read = Pass(file, member, error, [&](const std::uint8_t* data, std::size_t size) {
        if (watch) {
            saving += static_cast<double>(size) - Order0PackedBytes(data, size);
            compressIsBetter = saving >= worthwhile;
            if (compressIsBetter) return false;
        }
        return out_.Write(data, size);
    });
    if (compressIsBetter) {
        error.clear();
        return Outcome::kCompressInstead;
    }
    if (!read) return Outcome::kFailed;
    member.packedSize = member.originalSize;
    return Outcome::kDone;
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
