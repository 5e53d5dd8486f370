// Decoders of LArc's LZSS methods: -lzs- (2 KiB history; each item a flag bit, then 8 bits of
// a literal or an 11-bit history index and a 4-bit length) and -lz5- (4 KiB history filled
// with LArc's start pattern; items in groups of eight behind a flag byte, a literal byte or
// two bytes of 12-bit history index and 4-bit length).
#pragma once

#include <cstdint>
#include <string>

#include "archiver/bit_reader.h"
#include "archiver/lzh_decoder.h"

namespace archiver {

// Decodes exactly `originalSize` bytes. False with `error` when the data runs out, a copy
// runs past the member's end, or the sink stops.
bool DecodeLzs(ByteSupplier& input, std::uint64_t originalSize, const ByteSink& sink,
               std::string& error);
bool DecodeLz5(ByteSupplier& input, std::uint64_t originalSize, const ByteSink& sink,
               std::string& error);

}  // namespace archiver
