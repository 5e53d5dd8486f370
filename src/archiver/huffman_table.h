// Decoding table for one canonical Huffman code of the LZH format (code lengths up to 16).
#pragma once

#include <cstdint>
#include <vector>

#include "archiver/bit_reader.h"

namespace archiver {

class HuffmanTable {
  public:
    explicit HuffmanTable(int primaryBits) : primaryBits_(primaryBits) {}

    // False when the lengths do not form a prefix code (the code space is overfilled) or a
    // length exceeds 16. An incomplete code is accepted; its unused bit patterns decode as
    // errors.
    bool Build(const std::uint8_t* lengths, int count);
    // Every symbol is `symbol`, coded with zero bits.
    void BuildSingle(int symbol);

    // The next symbol, or -1 for a bit pattern that is no code. The reader must hold at least
    // 16 bits.
    int Decode(BitReader& reader) const {
        if (single_ >= 0) return single_;
        const std::uint32_t bits = reader.Peek(16);
        Entry entry = primary_[bits >> (16 - primaryBits_)];
        if (entry.length == kLink) {
            const int secondaryBits = 16 - primaryBits_;
            entry =
                secondary_[(entry.symbol << secondaryBits) + (bits & ((1u << secondaryBits) - 1))];
        }
        if (entry.length == 0) return -1;
        reader.Skip(entry.length);
        return entry.symbol;
    }

  private:
    static constexpr std::uint8_t kLink = 0xFF;
    struct Entry {
        std::uint16_t symbol = 0;
        std::uint8_t length = 0;
    };

    int primaryBits_;
    int single_ = -1;
    std::vector<Entry> primary_;
    std::vector<Entry> secondary_;
};

}  // namespace archiver
