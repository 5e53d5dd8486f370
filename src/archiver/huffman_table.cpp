#include "archiver/huffman_table.h"

#include <algorithm>
#include <array>

#include "archiver/huffman_code.h"

namespace archiver {

void HuffmanTable::BuildSingle(int symbol) { single_ = symbol; }

bool HuffmanTable::Build(const std::uint8_t* lengths, int count) {
    single_ = -1;
    std::array<std::uint32_t, kMaxCodeLength + 2> perLength{};
    for (int i = 0; i < count; ++i) {
        if (lengths[i] > kMaxCodeLength) return false;
        ++perLength[lengths[i]];
    }
    std::uint64_t kraft = 0;
    bool longCodes = false;
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        kraft += std::uint64_t{perLength[length]} << (kMaxCodeLength - length);
        if (length > primaryBits_ && perLength[length] > 0) longCodes = true;
    }
    if (kraft > (std::uint64_t{1} << kMaxCodeLength)) return false;

    // The first canonical code of each length.
    std::array<std::uint32_t, kMaxCodeLength + 2> next{};
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        next[length + 1] = (next[length] + perLength[length]) << 1;
    }
    // A complete code of short codes only fills every entry below; otherwise the table is
    // cleared first, so that no stale link or symbol is left.
    primary_.resize(std::size_t{1} << primaryBits_);
    if (longCodes || kraft < (std::uint64_t{1} << kMaxCodeLength)) {
        std::fill(primary_.begin(), primary_.end(), Entry{});
    }
    secondary_.clear();
    const int secondaryBits = 16 - primaryBits_;
    for (int symbol = 0; symbol < count; ++symbol) {
        const int length = lengths[symbol];
        if (length == 0) continue;
        const std::uint32_t code = next[length]++;
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
