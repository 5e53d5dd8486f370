// Most-significant-bit-first bit reader over a byte source. Reading past the end yields zero
// bits and is counted, so that a decoder can stop on truncated data instead of running on.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace archiver {

// Supplies the next run of bytes; returns 0 at the end or on a read error.
class ByteSupplier {
  public:
    virtual ~ByteSupplier() = default;
    virtual std::size_t Next(const std::uint8_t** data) = 0;
};

class BitReader {
  public:
    explicit BitReader(ByteSupplier& supplier) : supplier_(supplier) { Refill(); }

    // At most 32 bits may be peeked or taken between two refills.
    std::uint32_t Peek(int count) const {
        return static_cast<std::uint32_t>(buffer_ >> (64 - count));
    }
    void Skip(int count) {
        buffer_ <<= count;
        available_ -= count;
    }
    std::uint32_t Take(int count) {
        if (count == 0) return 0;
        const std::uint32_t value = Peek(count);
        Skip(count);
        return value;
    }
    void Refill() {
        if (available_ <= 56 && end_ - position_ >= 8) {
            // Eight bytes at once: take what fits whole and advance by that many bytes.
            std::uint64_t word;
            std::memcpy(&word, position_, 8);
            if constexpr (std::endian::native == std::endian::little) word = ByteSwap(word);
            buffer_ |= word >> available_;
            const int bytes = (63 - available_) >> 3;
            position_ += bytes;
            available_ += bytes * 8;
            return;
        }
        while (available_ <= 56) {
            if (position_ == end_ && !FetchMore()) {
                overrunBits_ += 8;
                available_ += 8;
                continue;
            }
            buffer_ |= std::uint64_t{*position_++} << (56 - available_);
            available_ += 8;
        }
    }
    // How many zero bits beyond the end were consumed (not only buffered).
    std::int64_t BitsPastEnd() const {
        const std::int64_t consumedPast = overrunBits_ - available_;
        return consumedPast > 0 ? consumedPast : 0;
    }

  private:
    static std::uint64_t ByteSwap(std::uint64_t v) { return __builtin_bswap64(v); }

    bool FetchMore() {
        if (exhausted_) return false;
        const std::size_t size = supplier_.Next(&position_);
        if (size == 0) {
            exhausted_ = true;
            return false;
        }
        end_ = position_ + size;
        return true;
    }

    ByteSupplier& supplier_;
    const std::uint8_t* position_ = nullptr;
    const std::uint8_t* end_ = nullptr;
    bool exhausted_ = false;
    std::uint64_t buffer_ = 0;
    int available_ = 0;
    std::int64_t overrunBits_ = 0;
};

}  // namespace archiver
