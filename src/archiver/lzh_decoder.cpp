#include "archiver/lzh_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "archiver/huffman_table.h"
#include "archiver/lzh_constants.h"

namespace archiver {
namespace {

using namespace lzh;

// More than this many zero bits read beyond the packed data means the data ran out.
constexpr std::int64_t kOverrunLimit = 64;

// The decoding tables of one member. They are kept from member to member on the thread, as
// building them anew for each small member took a good part of its decoding time.
// The char table looks up 10 bits at once: a longer first step costs more to fill for
// each block than it saves in a small member.
struct DecodingTables {
    HuffmanTable charTable{10};
    HuffmanTable treeTable{8};
    HuffmanTable positionTable{8};
};

class Decoder {
  public:
    Decoder(LzhMethod method, ByteSupplier& input, const ByteSink& sink, DecodingTables& tables)
        : parameters_(SlideParametersOf(method)),
          reader_(input),
          sink_(sink),
          window_(std::size_t{1} << parameters_.dictionaryBits, 0x20),
          mask_(window_.size() - 1),
          charTable_(tables.charTable),
          treeTable_(tables.treeTable),
          positionTable_(tables.positionTable) {}

    bool Run(std::uint64_t size, std::string& error) {
        std::uint64_t remaining = size;
        std::uint32_t blockRemaining = 0;
        while (remaining > 0) {
            if (blockRemaining == 0) {
                if (!ReadBlockHeader(blockRemaining, error)) return false;
                continue;
            }
            --blockRemaining;
            reader_.Refill();
            if (reader_.BitsPastEnd() > kOverrunLimit) return Fail(error, "data ends early");
            const int code = charTable_.Decode(reader_);
            if (code < 0) return Fail(error, "invalid code");
            if (code < 256) {
                window_[position_++ & mask_] = static_cast<std::uint8_t>(code);
                --remaining;
            } else {
                const std::uint32_t length = static_cast<std::uint32_t>(code - 256 + kMinMatch);
                if (length > remaining) return Fail(error, "copy beyond the member's end");
                const int positionCode = positionTable_.Decode(reader_);
                if (positionCode < 0) return Fail(error, "invalid position code");
                std::uint32_t offset = static_cast<std::uint32_t>(positionCode);
                if (positionCode > 1) {
                    offset = (1u << (positionCode - 1)) + reader_.Take(positionCode - 1);
                }
                CopyMatch(offset + 1, length);
                remaining -= length;
            }
            if (position_ - flushed_ >= window_.size() / 2 && !Flush()) {
                return Fail(error, "output stopped");
            }
        }
        if (!Flush()) return Fail(error, "output stopped");
        return true;
    }

  private:
    static bool Fail(std::string& error, const char* text) {
        error = text;
        return false;
    }

    void CopyMatch(std::uint32_t distance, std::uint32_t length) {
        std::uint64_t from = position_ - distance;
        std::uint8_t* const window = window_.data();
        const std::size_t to = position_ & mask_;
        const std::size_t source = from & mask_;
        // The source lies behind the target in the same pass over the window: copy eight
        // bytes at a time while the source is at least eight bytes back, and the rest (or
        // all of a shorter distance, which repeats what was just written) byte by byte.
        if (source < to && to + length <= window_.size()) {
            std::uint8_t* const out = window + to;
            const std::uint8_t* const in = window + source;
            std::uint32_t i = 0;
            if (distance >= 8) {
                for (; i + 8 <= length; i += 8) std::memcpy(out + i, in + i, 8);
            }
            for (; i < length; ++i) out[i] = in[i];
            position_ += length;
            return;
        }
        for (std::uint32_t i = 0; i < length; ++i) {
            window[position_++ & mask_] = window[from++ & mask_];
        }
    }

    // Hands the bytes decoded since the last flush to the sink. Called at least every half
    // window, so nothing is overwritten before it was handed on.
    bool Flush() {
        while (flushed_ < position_) {
            const std::size_t start = flushed_ & mask_;
            const std::size_t count =
                std::min<std::uint64_t>(position_ - flushed_, window_.size() - start);
            if (!sink_(window_.data() + start, count)) return false;
            flushed_ += count;
        }
        return true;
    }

    bool ReadBlockHeader(std::uint32_t& symbols, std::string& error) {
        reader_.Refill();
        if (reader_.BitsPastEnd() > kOverrunLimit) return Fail(error, "data ends early");
        symbols = reader_.Take(16);
        if (!ReadPrefixTable(kTreeCodes, kTreeCodeBits, 3, error)) return false;
        if (!ReadCharTable(error)) return false;
        return ReadPrefixTable(parameters_.positionCodes, parameters_.positionBits, -1, error,
                               true);
    }

    // The tables of the code-length code and of the position code share this form.
    bool ReadPrefixTable(int codes, int countBits, int special, std::string& error,
                         bool positions = false) {
        HuffmanTable& table = positions ? positionTable_ : treeTable_;
        reader_.Refill();
        const int count = static_cast<int>(reader_.Take(countBits));
        if (count == 0) {
            const int symbol = static_cast<int>(reader_.Take(countBits));
            if (symbol >= codes) return Fail(error, "invalid single code");
            table.BuildSingle(symbol);
            return true;
        }
        if (count > codes) return Fail(error, "too many code lengths");
        std::array<std::uint8_t, 32> lengths{};
        int i = 0;
        while (i < count) {
            reader_.Refill();
            int length = static_cast<int>(reader_.Peek(3));
            if (length == 7) {
                const int ones = std::countl_one(static_cast<std::uint32_t>(reader_.Peek(32) << 3));
                length += ones;
                if (length > 16) return Fail(error, "code length too long");
                reader_.Skip(3 + ones + 1);
            } else {
                reader_.Skip(3);
            }
            lengths[i++] = static_cast<std::uint8_t>(length);
            if (i == special) {
                const int zeros = static_cast<int>(reader_.Take(2));
                if (i + zeros > codes) return Fail(error, "too many code lengths");
                i += zeros;
            }
        }
        if (!table.Build(lengths.data(), codes)) return Fail(error, "code lengths form no code");
        return true;
    }

    bool ReadCharTable(std::string& error) {
        reader_.Refill();
        const int count = static_cast<int>(reader_.Take(kCharCodeBits));
        if (count == 0) {
            const int symbol = static_cast<int>(reader_.Take(kCharCodeBits));
            if (symbol >= kCharCodes) return Fail(error, "invalid single code");
            charTable_.BuildSingle(symbol);
            return true;
        }
        if (count > kCharCodes) return Fail(error, "too many code lengths");
        std::array<std::uint8_t, kCharCodes> lengths{};
        int i = 0;
        while (i < count) {
            reader_.Refill();
            const int code = treeTable_.Decode(reader_);
            if (code < 0) return Fail(error, "invalid code-length code");
            if (code <= 2) {
                int zeros = 1;
                if (code == 1) zeros = static_cast<int>(reader_.Take(4)) + 3;
                if (code == 2) zeros = static_cast<int>(reader_.Take(kCharCodeBits)) + 20;
                if (i + zeros > kCharCodes) return Fail(error, "too many code lengths");
                i += zeros;
            } else {
                lengths[i++] = static_cast<std::uint8_t>(code - 2);
            }
        }
        if (!charTable_.Build(lengths.data(), kCharCodes)) {
            return Fail(error, "code lengths form no code");
        }
        return true;
    }

    const SlideParameters parameters_;
    BitReader reader_;
    const ByteSink& sink_;
    std::vector<std::uint8_t> window_;
    const std::uint64_t mask_;
    std::uint64_t position_ = 0;
    std::uint64_t flushed_ = 0;
    HuffmanTable& charTable_;
    HuffmanTable& treeTable_;
    HuffmanTable& positionTable_;
};

}  // namespace

bool DecodeLzh(LzhMethod method, ByteSupplier& input, std::uint64_t originalSize,
               const ByteSink& sink, std::string& error) {
    thread_local DecodingTables kept;
    thread_local bool keptInUse = false;
    if (keptInUse) {  // a sink that decodes another member on the same thread
        DecodingTables fresh;
        Decoder decoder(method, input, sink, fresh);
        return decoder.Run(originalSize, error);
    }
    keptInUse = true;
    Decoder decoder(method, input, sink, kept);
    const bool ok = decoder.Run(originalSize, error);
    keptInUse = false;
    return ok;
}

}  // namespace archiver
