#include "archiver/crc16.h"

#include <array>

namespace archiver {
namespace {

constexpr std::array<std::array<std::uint16_t, 256>, 2> MakeTables() {
    std::array<std::array<std::uint16_t, 256>, 2> tables{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t crc = static_cast<std::uint16_t>(i);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
        }
        tables[0][i] = crc;
    }
    for (unsigned i = 0; i < 256; ++i) {
        const std::uint16_t crc = tables[0][i];
        tables[1][i] = static_cast<std::uint16_t>((crc >> 8) ^ tables[0][crc & 0xFF]);
    }
    return tables;
}

constexpr auto kTables = MakeTables();

}  // namespace

std::uint16_t UpdateCrc16(std::uint16_t crc, const std::uint8_t* data, std::size_t size) {
    std::size_t i = 0;
    // Two bytes per step: the second table advances a CRC by one zero byte.
    for (; i + 2 <= size; i += 2) {
        const std::uint16_t x = crc ^ static_cast<std::uint16_t>(data[i] | (data[i + 1] << 8));
        crc = kTables[1][x & 0xFF] ^ kTables[0][x >> 8];
    }
    for (; i < size; ++i) {
        crc = static_cast<std::uint16_t>((crc >> 8) ^ kTables[0][(crc ^ data[i]) & 0xFF]);
    }
    return crc;
}

}  // namespace archiver
