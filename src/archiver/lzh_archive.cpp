#include "archiver/lzh_archive.h"

#include <algorithm>
#include <memory>

#include "archiver/crc16.h"
#include "archiver/larc_decoder.h"
#include "archiver/lh1_decoder.h"
#include "archiver/lzh_header.h"

namespace archiver {
namespace {

// Supplies the packed bytes of one member in chunks.
class RangeSupplier final : public ByteSupplier {
  public:
    RangeSupplier(const RandomAccessInput& input, std::uint64_t offset, std::uint64_t size)
        : input_(input),
          offset_(offset),
          left_(size),
          capacity_(static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunk))),
          buffer_(new std::uint8_t[capacity_]) {}

    std::size_t Next(const std::uint8_t** data) override {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(left_, capacity_));
        if (count == 0 || !input_.ReadAt(offset_, buffer_.get(), count)) return 0;
        offset_ += count;
        left_ -= count;
        *data = buffer_.get();
        return count;
    }

  private:
    const RandomAccessInput& input_;
    std::uint64_t offset_;
    std::uint64_t left_;
    // No larger than the member, and not cleared: most members are small.
    static constexpr std::uint64_t kChunk = 1 << 16;
    std::size_t capacity_;
    std::unique_ptr<std::uint8_t[]> buffer_;
};

// Where an LZH header begins after a program (a self-extractor) at the start of the input;
// 0 when none is found in the first few megabytes.
std::uint64_t ArchiveAfterProgram(const RandomAccessInput& input) {
    constexpr std::uint64_t kSearched = 4 << 20;
    std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min(input.size(), kSearched)));
    if (!input.ReadAt(0, head.data(), head.size())) return 0;
    // A header's method id ("-lh5-", "-lz5-", "-pm2-") sits two bytes after its start.
    for (std::size_t at = 3; at + 5 <= head.size(); ++at) {
        if (head[at] != '-' || head[at + 4] != '-' ||
            (head[at + 1] != 'l' && head[at + 1] != 'p')) {
            continue;
        }
        LzhMember member;
        std::uint64_t next = 0;
        std::string error;
        if (ReadLzhHeader(input, at - 2, member, next, error) == HeaderStatus::kMember) {
            return at - 2;
        }
    }
    return 0;
}

// Whether the input begins as a program does: MS-DOS and Windows, ELF, Amiga.
bool StartsAsProgram(const RandomAccessInput& input) {
    std::uint8_t head[4] = {};
    if (input.size() < 4 || !input.ReadAt(0, head, 4)) return false;
    return (head[0] == 'M' && head[1] == 'Z') ||
           (head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') ||
           (head[0] == 0 && head[1] == 0 && head[2] == 0x03 && head[3] == 0xF3);
}

std::string ArchiveFurtherOn(const RandomAccessInput& input, std::uint64_t archiveAt) {
    const std::string where = "（アーカイブは " + std::to_string(archiveAt) + " バイト目から）";
    if (StartsAsProgram(input)) {
        return "自己解凍形式など、プログラムの後ろに LZH "
               "アーカイブが続くファイルなので上書きしません" +
               where;
    }
    return "先頭が LZH アーカイブではないファイルなので上書きしません" + where;
}

}  // namespace

LzhArchiveContents ReadLzhArchive(const RandomAccessInput& input) {
    std::vector<LzhMember> members;
    LzhArchiveContents contents =
        ScanLzhArchive(input, [&](LzhMember& member) { members.push_back(std::move(member)); });
    contents.members = std::move(members);
    return contents;
}

LzhArchiveContents ScanLzhArchive(const RandomAccessInput& input,
                                  const std::function<void(LzhMember&)>& each) {
    LzhArchiveContents contents;
    std::uint64_t offset = 0;
    for (;;) {
        LzhMember member;
        std::uint64_t next = 0;
        const HeaderStatus status = ReadLzhHeader(input, offset, member, next, contents.error);
        // Only a file that is the end-of-archive byte alone is an empty archive: a longer one
        // that starts with it (zeroed by a crash, a foreign self-extractor) is not an archive.
        const bool notAnArchive =
            offset == 0 && (status == HeaderStatus::kDamaged ||
                            (status == HeaderStatus::kEnd && input.size() > 1));
        if (notAnArchive) {
            contents.damaged = true;
            if (const std::uint64_t archiveAt = ArchiveAfterProgram(input)) {
                contents.error = ArchiveFurtherOn(input, archiveAt);
            } else if (status == HeaderStatus::kEnd) {
                contents.error =
                    "LZH アーカイブとして読めないので上書きしません（先頭が 0 のバイトです）";
            } else {
                contents.error =
                    "LZH アーカイブとして読めないので上書きしません（" +
                    (contents.error.empty() ? std::string("unreadable header") : contents.error) +
                    "）";
            }
            break;
        }
        if (status == HeaderStatus::kEnd) {
            // The end-of-archive byte, when there is one, is not part of what follows it.
            contents.trailerOffset = std::min(offset + 1, input.size());
            break;
        }
        if (status == HeaderStatus::kDamaged) {
            contents.damaged = true;
            if (contents.error.empty()) contents.error = "unreadable header";
            contents.error += " at offset " + std::to_string(offset);
            break;
        }
        each(member);
        offset = next;
    }
    return contents;
}

bool ExtractLzhMember(const RandomAccessInput& input, const LzhMember& member, const ByteSink& sink,
                      std::string& error) {
    if (!member.method) {
        error = "この圧縮方式は展開できません（" + member.methodId + "）";
        return false;
    }
    std::uint16_t crc = 0;
    std::uint64_t produced = 0;
    const ByteSink counting = [&](const std::uint8_t* data, std::size_t size) {
        crc = UpdateCrc16(crc, data, size);
        produced += size;
        return sink(data, size);
    };
    RangeSupplier supplier(input, member.dataOffset, member.packedSize);
    const LzhMethod method = *member.method;
    if (method == LzhMethod::kDirectory) return true;
    if (IsStoredMethod(method)) {
        const std::uint8_t* data = nullptr;
        while (const std::size_t size = supplier.Next(&data)) {
            if (!counting(data, size)) {
                error = "output stopped";
                return false;
            }
        }
    } else {
        bool decoded = false;
        if (IsBlockHuffmanMethod(method)) {
            decoded = DecodeLzh(method, supplier, member.originalSize, counting, error);
        } else if (method == LzhMethod::kLh1) {
            decoded = DecodeLh1(supplier, member.originalSize, counting, error);
        } else if (method == LzhMethod::kLzs) {
            decoded = DecodeLzs(supplier, member.originalSize, counting, error);
        } else if (method == LzhMethod::kLz5) {
            decoded = DecodeLz5(supplier, member.originalSize, counting, error);
        }
        if (!decoded) return false;
    }
    if (produced != member.originalSize) {
        error = "member data truncated";
        return false;
    }
    if (crc != member.crc) {
        error = "CRC mismatch";
        return false;
    }
    return true;
}

}  // namespace archiver
