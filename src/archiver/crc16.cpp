#include "archiver/crc16.h"

#include <array>

namespace archiver {
namespace {

constexpr int kSlices = 8;
using Tables = std::array<std::array<std::uint16_t, 256>, kSlices>;

// Table k advances a CRC over one byte followed by k zero bytes, so that
// eight bytes are taken in one step.
constexpr Tables MakeTables() {
    Tables tables{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
        }
        tables[0][i] = crc;
    }
    for (int k = 1; k < kSlices; ++k) {
        for (unsigned i = 0; i < 256; ++i) {
            const std::uint16_t crc = tables[k - 1][i];
            tables[k][i] = static_cast<std::uint16_t>((crc >> 8) ^ tables[0][crc & 0xFF]);
        }
    }
    return tables;
}

constexpr Tables kTables = MakeTables();

}  // namespace

std::uint16_t UpdateCrc16(std::uint16_t crc, const std::uint8_t* data, std::size_t size) {
    std::size_t i = 0;
    for (; i + kSlices <= size; i += kSlices) {
        const std::uint8_t* p = data + i;
        const unsigned x = crc ^ (p[0] | (p[1] << 8));
        crc = static_cast<std::uint16_t>(kTables[7][x & 0xFF] ^ kTables[6][x >> 8] ^
                                         kTables[5][p[2]] ^ kTables[4][p[3]] ^ kTables[3][p[4]] ^
                                         kTables[2][p[5]] ^ kTables[1][p[6]] ^ kTables[0][p[7]]);
    }
    for (; i < size; ++i) {
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kTables[0][(crc ^ data[i]) & 0xFF]);
    }
    return crc;
}

}  // namespace archiver
