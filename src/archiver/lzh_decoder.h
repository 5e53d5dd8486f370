// Decoder of the static-Huffman sliding-dictionary LZH methods (-lh4-, -lh5-, -lh6-, -lh7-).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "archiver/bit_reader.h"
#include "archiver/lzh_method.h"

namespace archiver {

// Receives decoded bytes in order; returning false stops the decoding.
using ByteSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// Decodes exactly `originalSize` bytes. False with `error` set on damaged data (a table that
// is no prefix code, a symbol without a code, a copy longer than the rest of the member,
// data running out) or when the sink stops.
bool DecodeLzh(LzhMethod method, ByteSupplier& input, std::uint64_t originalSize,
               const ByteSink& sink, std::string& error);

}  // namespace archiver
