// The LZH compression methods this library reads and the parameters of the static-Huffman
// sliding-dictionary ones. Read: "-lh0-", "-lh1-", "-lh4-" to "-lh7-", "-lhd-", LArc's
// "-lzs-", "-lz4-" and "-lz5-", and PMarc's stored "-pm0-". Other ids ("-lh2-", "-lh3-",
// "-pm1-", "-pm2-", ...) are listed and kept, but their data cannot be decoded.
#pragma once

#include <optional>
#include <string>

namespace archiver {

enum class LzhMethod {
    kStored,     // -lh0-
    kLh1,        // 4 KiB window, adaptive Huffman lengths, fixed position code
    kLh4,        // static Huffman blocks, as -lh5- with a 4 KiB window
    kLh5,        // 8 KiB
    kLh6,        // 32 KiB
    kLh7,        // 64 KiB
    kLzs,        // LArc: 2 KiB window, flag bit, 11-bit position, 4-bit length
    kLz4,        // LArc stored
    kLz5,        // LArc: 4 KiB window, flag bytes, 12-bit position, 4-bit length
    kPm0,        // PMarc stored
    kDirectory,  // -lhd-
};

std::optional<LzhMethod> ParseLzhMethod(const std::string& id);
const char* LzhMethodId(LzhMethod method);

// The data is the original bytes as they are.
bool IsStoredMethod(LzhMethod method);
// Decoded by the static-Huffman block decoder (DecodeLzh).
bool IsBlockHuffmanMethod(LzhMethod method);

struct SlideParameters {
    int dictionaryBits;  // dictionary of 2^bits bytes
    int positionCodes;   // symbols of the position code (NP)
    int positionBits;    // bits of the position table's length count (PBIT)
};
SlideParameters SlideParametersOf(LzhMethod method);

}  // namespace archiver
