#include "archiver/lh5_encoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "archiver/bit_writer.h"
#include "archiver/huffman_code.h"
#include "archiver/lzh_constants.h"

namespace archiver {
namespace {

using namespace lzh;

constexpr int kDictionarySize = 1 << 13;
constexpr int kPositionMask = kDictionarySize - 1;
// One short of the dictionary: some decoders keep exactly the dictionary size of history.
constexpr int kMaxDistance = kDictionarySize - 1;
constexpr int kPositionCodes = 14;
constexpr int kPositionCountBits = 4;
constexpr int kHashBits = 15;
constexpr int kBufferSize = 1 << 18;
constexpr int kBlockSymbols = 16 * 1024;
// Match search effort, in the manner of deflate's levels.
constexpr int kMaxChain = 160;
constexpr int kGoodLength = 32;
constexpr int kMaxLazy = 128;
// A three-byte match this far back costs more than three literals.
constexpr int kTooFar = 4096;

int PositionCode(std::uint32_t offset) { return offset == 0 ? 0 : std::bit_width(offset); }

int MatchLength(const std::uint8_t* a, const std::uint8_t* b, int limit) {
    int n = 0;
    while (n + 8 <= limit) {
        std::uint64_t x, y;
        std::memcpy(&x, a + n, 8);
        std::memcpy(&y, b + n, 8);
        if (x != y) return n + std::countr_zero(x ^ y) / 8;
        n += 8;
    }
    while (n < limit && a[n] == b[n]) ++n;
    return n;
}

int UsedSymbols(const std::vector<std::uint32_t>& frequencies, int& last) {
    int used = 0;
    last = 0;
    for (int i = 0; i < static_cast<int>(frequencies.size()); ++i) {
        if (frequencies[i] > 0) {
            ++used;
            last = i;
        }
    }
    return used;
}

}  // namespace

class Lh5Encoder::Impl {
  public:
    explicit Impl(Output output)
        : output_(std::move(output)),
          buffer_(kBufferSize + 8),
          head_(std::size_t{1} << kHashBits, -1),
          previous_(kDictionarySize, -1),
          charFrequencies_(kCharCodes, 0),
          positionFrequencies_(kPositionCodes, 0) {
        codes_.reserve(kBlockSymbols);
        offsets_.reserve(kBlockSymbols);
    }

    void Reset() {
        std::fill(head_.begin(), head_.end(), -1);
        std::fill(previous_.begin(), previous_.end(), -1);
        filled_ = 0;
        position_ = 0;
        previousLength_ = kMinMatch - 1;
        previousDistance_ = 0;
        pendingLiteral_ = false;
        codes_.clear();
        offsets_.clear();
        std::fill(charFrequencies_.begin(), charFrequencies_.end(), 0);
        std::fill(positionFrequencies_.begin(), positionFrequencies_.end(), 0);
        bits_.Reset();
        packedSize_ = 0;
        blockInput_ = 0;
        codedInput_ = 0;
    }

    bool Write(const std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            if (filled_ == kBufferSize) Slide();
            const std::size_t count = std::min<std::size_t>(size, kBufferSize - filled_);
            std::memcpy(buffer_.data() + filled_, data, count);
            filled_ += static_cast<int>(count);
            data += count;
            size -= count;
            if (!Process(false)) return false;
        }
        return true;
    }

    bool Finish() {
        if (!Process(true)) return false;
        if (pendingLiteral_) EmitLiteral(buffer_[position_ - 1]);
        pendingLiteral_ = false;
        FlushBlock();
        bits_.FlushBits();
        return Drain(true);
    }

    std::uint64_t packedSize() const { return packedSize_; }
    std::uint64_t codedInput() const { return codedInput_; }
    std::uint64_t codedOutput() const { return packedSize_ + bits_.byteCount(); }

  private:
    std::uint32_t Hash(int at) const {
        const std::uint8_t* p = buffer_.data() + at;
        const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    int Insert(int at) {
        const std::uint32_t h = Hash(at);
        const int candidate = head_[h];
        previous_[at & kPositionMask] = candidate;
        head_[h] = at;
        return candidate;
    }

    // Keeps the last dictionary of history at the front. The shift is a multiple of the
    // dictionary size so that chain slots keep their places.
    void Slide() {
        const int shift = ((position_ - kDictionarySize) / kDictionarySize) * kDictionarySize;
        if (shift <= 0) return;
        std::memmove(buffer_.data(), buffer_.data() + shift, filled_ - shift);
        filled_ -= shift;
        position_ -= shift;
        for (int& v : head_) v = v >= shift ? v - shift : -1;
        for (int& v : previous_) v = v >= shift ? v - shift : -1;
    }

    int LongestMatch(int candidate, int limit, int& distance) const {
        const std::uint8_t* const scan = buffer_.data() + position_;
        const int lowest = position_ - kMaxDistance;
        int best = std::max(previousLength_, kMinMatch - 1);
        int chain = previousLength_ >= kGoodLength ? kMaxChain / 4 : kMaxChain;
        int found = kMinMatch - 1;
        while (candidate >= lowest && candidate >= 0 && chain-- > 0) {
            const std::uint8_t* const match = buffer_.data() + candidate;
            if (best < limit && match[best] == scan[best] && match[0] == scan[0] &&
                match[1] == scan[1]) {
                const int length = MatchLength(match, scan, limit);
                if (length > best) {
                    best = length;
                    found = length;
                    distance = position_ - candidate;
                    if (length >= limit) break;
                }
            }
            candidate = previous_[candidate & kPositionMask];
        }
        return found;
    }

    bool Process(bool final) {
        const int reserve = final ? 0 : kMaxMatch + 1;
        while (filled_ - position_ > reserve) {
            Step();
            if (codes_.size() >= kBlockSymbols) {
                FlushBlock();
                if (!Drain(false)) return false;
            }
        }
        return true;
    }

    // One step of lazy matching: a match found here is coded only if the match starting one
    // byte later is not longer.
    void Step() {
        const int available = filled_ - position_;
        int length = kMinMatch - 1;
        int distance = 0;
        if (available >= kMinMatch) {
            const int candidate = Insert(position_);
            if (candidate >= 0 && previousLength_ < kMaxLazy) {
                length = LongestMatch(candidate, std::min(available, kMaxMatch), distance);
                if (length == kMinMatch && distance > kTooFar) length = kMinMatch - 1;
            }
        }
        if (previousLength_ >= kMinMatch && length <= previousLength_) {
            EmitMatch(previousLength_, previousDistance_);
            const int end = position_ - 1 + previousLength_;
            for (int at = position_ + 1; at < end; ++at) {
                if (at + kMinMatch <= filled_) Insert(at);
            }
            position_ = end;
            pendingLiteral_ = false;
            previousLength_ = kMinMatch - 1;
            return;
        }
        if (pendingLiteral_) EmitLiteral(buffer_[position_ - 1]);
        pendingLiteral_ = true;
        previousLength_ = length;
        previousDistance_ = distance;
        ++position_;
    }

    void EmitLiteral(std::uint8_t byte) {
        codes_.push_back(byte);
        offsets_.push_back(0);
        ++blockInput_;
        ++charFrequencies_[byte];
    }

    void EmitMatch(int length, int distance) {
        const int code = 256 + length - kMinMatch;
        const std::uint32_t offset = static_cast<std::uint32_t>(distance - 1);
        blockInput_ += length;
        codes_.push_back(static_cast<std::uint16_t>(code));
        offsets_.push_back(static_cast<std::uint16_t>(offset));
        ++charFrequencies_[code];
        ++positionFrequencies_[PositionCode(offset)];
    }

    void WritePrefixLengths(const std::vector<std::uint8_t>& lengths, int countBits, int special) {
        int n = static_cast<int>(lengths.size());
        while (n > 0 && lengths[n - 1] == 0) --n;
        bits_.Put(countBits, n);
        int i = 0;
        while (i < n) {
            const int k = lengths[i++];
            if (k <= 6) {
                bits_.Put(3, k);
            } else {
                bits_.Put(k - 3, (1u << (k - 3)) - 2);
            }
            if (i == special) {
                while (i < std::min(6, n) && lengths[i] == 0) ++i;
                bits_.Put(2, (i - 3) & 3);
            }
        }
    }

    // Visits the code-length code's symbols for the char code lengths: 0 = one zero, 1 = a
    // run of 3..18 zeros, 2 = a run of 20..531 zeros, k + 2 = length k.
    template <typename Visit>
    static void ForEachTreeSymbol(const std::vector<std::uint8_t>& lengths, Visit visit) {
        int n = static_cast<int>(lengths.size());
        while (n > 0 && lengths[n - 1] == 0) --n;
        int i = 0;
        while (i < n) {
            const int k = lengths[i++];
            if (k != 0) {
                visit(k + 2, 0, 0);
                continue;
            }
            int count = 1;
            while (i < n && lengths[i] == 0) {
                ++i;
                ++count;
            }
            if (count <= 2) {
                for (int j = 0; j < count; ++j) visit(0, 0, 0);
            } else if (count <= 18) {
                visit(1, 4, count - 3);
            } else if (count == 19) {
                visit(0, 0, 0);
                visit(1, 4, 15);
            } else {
                visit(2, kCharCodeBits, count - 20);
            }
        }
    }

    void WriteCharTable(const std::vector<std::uint8_t>& charLengths) {
        std::vector<std::uint32_t> treeFrequencies(kTreeCodes, 0);
        ForEachTreeSymbol(charLengths, [&](int symbol, int, int) { ++treeFrequencies[symbol]; });
        int single = 0;
        const int used = UsedSymbols(treeFrequencies, single);
        std::vector<std::uint8_t> treeLengths(kTreeCodes, 0);
        if (used >= 2) {
            treeLengths = BuildCodeLengths(treeFrequencies);
            WritePrefixLengths(treeLengths, kTreeCodeBits, 3);
        } else {
            bits_.Put(kTreeCodeBits, 0);
            bits_.Put(kTreeCodeBits, single);
        }
        const std::vector<std::uint16_t> treeCodes = BuildCanonicalCodes(treeLengths);
        int n = static_cast<int>(charLengths.size());
        while (n > 0 && charLengths[n - 1] == 0) --n;
        bits_.Put(kCharCodeBits, n);
        ForEachTreeSymbol(charLengths, [&](int symbol, int extraBits, int extra) {
            bits_.Put(treeLengths[symbol], treeCodes[symbol]);
            if (extraBits > 0) bits_.Put(extraBits, extra);
        });
    }

    void FlushBlock() {
        if (codes_.empty()) return;
        bits_.Put(16, static_cast<std::uint32_t>(codes_.size()));
        int charSingle = 0;
        std::vector<std::uint8_t> charLengths(kCharCodes, 0);
        if (UsedSymbols(charFrequencies_, charSingle) >= 2) {
            charLengths = BuildCodeLengths(charFrequencies_);
            WriteCharTable(charLengths);
        } else {
            bits_.Put(kTreeCodeBits, 0);
            bits_.Put(kTreeCodeBits, 0);
            bits_.Put(kCharCodeBits, 0);
            bits_.Put(kCharCodeBits, charSingle);
        }
        int positionSingle = 0;
        std::vector<std::uint8_t> positionLengths(kPositionCodes, 0);
        if (UsedSymbols(positionFrequencies_, positionSingle) >= 2) {
            positionLengths = BuildCodeLengths(positionFrequencies_);
            WritePrefixLengths(positionLengths, kPositionCountBits, -1);
        } else {
            bits_.Put(kPositionCountBits, 0);
            bits_.Put(kPositionCountBits, positionSingle);
        }
        const std::vector<std::uint16_t> charCodes = BuildCanonicalCodes(charLengths);
        const std::vector<std::uint16_t> positionCodes = BuildCanonicalCodes(positionLengths);
        for (std::size_t i = 0; i < codes_.size(); ++i) {
            const int code = codes_[i];
            bits_.Put(charLengths[code], charCodes[code]);
            if (code < 256) continue;
            const std::uint32_t offset = offsets_[i];
            const int p = PositionCode(offset);
            bits_.Put(positionLengths[p], positionCodes[p]);
            if (p > 1) bits_.Put(p - 1, offset);
        }
        codedInput_ += blockInput_;
        blockInput_ = 0;
        codes_.clear();
        offsets_.clear();
        std::fill(charFrequencies_.begin(), charFrequencies_.end(), 0);
        std::fill(positionFrequencies_.begin(), positionFrequencies_.end(), 0);
    }

    bool Drain(bool all) {
        std::vector<std::uint8_t>& bytes = bits_.bytes();
        if (bytes.empty() || (!all && bytes.size() < (1u << 16))) return true;
        packedSize_ += bytes.size();
        const bool ok = output_(bytes.data(), bytes.size());
        bytes.clear();
        return ok;
    }

    Output output_;
    std::vector<std::uint8_t> buffer_;
    std::vector<int> head_;
    std::vector<int> previous_;
    int filled_ = 0;
    int position_ = 0;
    int previousLength_ = kMinMatch - 1;
    int previousDistance_ = 0;
    bool pendingLiteral_ = false;
    std::vector<std::uint16_t> codes_;
    std::vector<std::uint16_t> offsets_;
    std::vector<std::uint32_t> charFrequencies_;
    std::vector<std::uint32_t> positionFrequencies_;
    BitWriter bits_;
    std::uint64_t packedSize_ = 0;
    std::uint64_t blockInput_ = 0;
    std::uint64_t codedInput_ = 0;
};

Lh5Encoder::Lh5Encoder(Output output) : impl_(std::make_unique<Impl>(std::move(output))) {}
Lh5Encoder::~Lh5Encoder() = default;
void Lh5Encoder::Reset() { impl_->Reset(); }
bool Lh5Encoder::Write(const std::uint8_t* data, std::size_t size) {
    return impl_->Write(data, size);
}
bool Lh5Encoder::Finish() { return impl_->Finish(); }
std::uint64_t Lh5Encoder::packedSize() const { return impl_->packedSize(); }
std::uint64_t Lh5Encoder::codedInput() const { return impl_->codedInput(); }
std::uint64_t Lh5Encoder::codedOutput() const { return impl_->codedOutput(); }

}  // namespace archiver
