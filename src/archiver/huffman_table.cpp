#include "archiver/huffman_table.h"

#include <algorithm>

#include "archiver/huffman_code.h"

namespace archiver {

void HuffmanTable::BuildSingle(int symbol) {
    single_ = symbol;
    primary_.clear();
    secondary_.clear();
}

bool HuffmanTable::Build(const std::uint8_t* lengths, int count) {
    single_ = -1;
    std::uint64_t kraft = 0;
    for (int i = 0; i < count; ++i) {
        if (lengths[i] > kMaxCodeLength) return false;
        if (lengths[i] > 0) kraft += std::uint64_t{1} << (kMaxCodeLength - lengths[i]);
    }
    if (kraft > (std::uint64_t{1} << kMaxCodeLength)) return false;

    const std::vector<std::uint8_t> lengthVector(lengths, lengths + count);
    const std::vector<std::uint16_t> codes = BuildCanonicalCodes(lengthVector);
    primary_.assign(std::size_t{1} << primaryBits_, Entry{});
    secondary_.clear();
    const int secondaryBits = 16 - primaryBits_;
    for (int symbol = 0; symbol < count; ++symbol) {
        const int length = lengths[symbol];
        if (length == 0) continue;
        const std::uint32_t code = codes[symbol];
        if (length <= primaryBits_) {
            const std::uint32_t first = code << (primaryBits_ - length);
            const std::uint32_t span = 1u << (primaryBits_ - length);
            std::fill_n(
                primary_.begin() + first, span,
                Entry{static_cast<std::uint16_t>(symbol), static_cast<std::uint8_t>(length)});
            continue;
        }
        Entry& link = primary_[code >> (length - primaryBits_)];
        if (link.length != kLink) {
            link.length = kLink;
            link.symbol = static_cast<std::uint16_t>(secondary_.size() >> secondaryBits);
            secondary_.resize(secondary_.size() + (std::size_t{1} << secondaryBits));
        }
        const int rest = length - primaryBits_;
        const std::uint32_t suffix = code & ((1u << rest) - 1);
        const std::size_t first =
            (std::size_t{link.symbol} << secondaryBits) + (suffix << (secondaryBits - rest));
        std::fill_n(secondary_.begin() + first, std::size_t{1} << (secondaryBits - rest),
                    Entry{static_cast<std::uint16_t>(symbol), static_cast<std::uint8_t>(length)});
    }
    return true;
}

}  // namespace archiver
