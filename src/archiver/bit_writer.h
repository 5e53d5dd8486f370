// Most-significant-bit-first bit packer for the LZH code streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace archiver {

class BitWriter {
  public:
    // Appends the low `count` bits of `value` (count <= 32).
    void Put(int count, std::uint32_t value) {
        accumulator_ = (accumulator_ << count) | (value & ((std::uint64_t{1} << count) - 1));
        pending_ += count;
        while (pending_ >= 8) {
            pending_ -= 8;
            bytes_.push_back(static_cast<std::uint8_t>(accumulator_ >> pending_));
        }
    }
    // Pads the last byte with zero bits.
    void FlushBits() {
        if (pending_ > 0) Put(8 - pending_, 0);
    }
    // Empties the writer, keeping its memory.
    void Reset() {
        accumulator_ = 0;
        pending_ = 0;
        bytes_.clear();
    }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    std::size_t byteCount() const { return bytes_.size(); }

  private:
    std::uint64_t accumulator_ = 0;
    int pending_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace archiver
