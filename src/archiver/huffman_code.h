// Length-limited Huffman codes in the canonical order the LZH format uses: shorter codes
// first, and within one length in symbol order.
#pragma once

#include <cstdint>
#include <vector>

namespace archiver {

constexpr int kMaxCodeLength = 16;

// Code lengths (at most maxLength) for the given symbol frequencies. Unused symbols get 0.
// With fewer than two used symbols every length is 0: the caller writes such a table as a
// single symbol.
std::vector<std::uint8_t> BuildCodeLengths(const std::vector<std::uint32_t>& frequencies,
                                           int maxLength = kMaxCodeLength);

// Canonical codes for the lengths (which must satisfy the Kraft inequality).
std::vector<std::uint16_t> BuildCanonicalCodes(const std::vector<std::uint8_t>& lengths);

}  // namespace archiver
