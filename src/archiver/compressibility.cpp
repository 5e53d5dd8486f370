#include "archiver/compressibility.h"

#include <array>
#include <cmath>

namespace archiver {

double Order0PackedBytes(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::array<std::uint64_t, 256> counts{};
    for (std::size_t i = 0; i < size; ++i) ++counts[data[i]];
    const double total = static_cast<double>(size);
    double bits = 0;
    for (const std::uint64_t count : counts) {
        if (count != 0) bits += static_cast<double>(count) * std::log2(total / count);
    }
    return bits / 8;
}

}  // namespace archiver
