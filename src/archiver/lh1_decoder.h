// Decoder of -lh1-: a 4 KiB history; literals and copy lengths (3 to 60) share one adaptive
// Huffman code that follows the symbol counts as it goes; a copy's distance is a fixed-code
// upper part (6 bits' worth in 3 to 8 bits) followed by 6 plain bits.
#pragma once

#include <cstdint>
#include <string>

#include "archiver/bit_reader.h"
#include "archiver/lzh_decoder.h"

namespace archiver {

// Decodes exactly `originalSize` bytes. False with `error` when the data runs out, a copy
// runs past the member's end, or the sink stops.
bool DecodeLh1(ByteSupplier& input, std::uint64_t originalSize, const ByteSink& sink,
               std::string& error);

}  // namespace archiver
