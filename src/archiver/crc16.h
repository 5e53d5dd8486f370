// CRC-16/ARC (polynomial 0x8005 reflected, initial value 0): the checksum of LZH member data
// and of level-2 headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace archiver {

std::uint16_t UpdateCrc16(std::uint16_t crc, const std::uint8_t* data, std::size_t size);

}  // namespace archiver
