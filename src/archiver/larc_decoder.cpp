#include "archiver/larc_decoder.h"

#include "archiver/history_ring.h"

namespace archiver {
namespace {

// More than this many zero bits read beyond the packed data means the data ran out.
constexpr std::int64_t kOverrunLimit = 64;

bool Fail(std::string& error, const char* text) {
    error = text;
    return false;
}

// LArc's history before the first byte: a run of 13 of every byte value, the values rising
// and falling, then zeros, spaces and zeros again. Copies may start inside it.
void FillLz5History(std::uint8_t* ring) {
    std::uint8_t* p = ring;
    for (int value = 0; value < 256; ++value) {
        for (int i = 0; i < 13; ++i) *p++ = static_cast<std::uint8_t>(value);
    }
    for (int value = 0; value < 256; ++value) *p++ = static_cast<std::uint8_t>(value);
    for (int value = 255; value >= 0; --value) *p++ = static_cast<std::uint8_t>(value);
    for (int i = 0; i < 128; ++i) *p++ = 0;
    for (int i = 0; i < 110; ++i) *p++ = ' ';
    for (int i = 0; i < 18; ++i) *p++ = 0;
}

}  // namespace

bool DecodeLzs(ByteSupplier& input, std::uint64_t originalSize, const ByteSink& sink,
               std::string& error) {
    constexpr int kHistoryBits = 11;
    constexpr std::uint32_t kMinMatch = 2;
    HistoryRing history(kHistoryBits, sink);
    history.SetPosition((std::size_t{1} << kHistoryBits) - 17);
    BitReader reader(input);
    std::uint64_t remaining = originalSize;
    while (remaining > 0) {
        reader.Refill();
        if (reader.BitsPastEnd() > kOverrunLimit) return Fail(error, "data ends early");
        if (reader.Take(1) != 0) {
            history.Put(static_cast<std::uint8_t>(reader.Take(8)));
            --remaining;
        } else {
            const std::uint32_t from = reader.Take(kHistoryBits);
            const std::uint32_t length = reader.Take(4) + kMinMatch;
            if (length > remaining) return Fail(error, "copy beyond the member's end");
            history.Copy(from, length);
            remaining -= length;
        }
        if (!history.Flush()) return Fail(error, "output stopped");
    }
    if (reader.BitsPastEnd() > 0) return Fail(error, "data ends early");
    return history.Flush(true) || Fail(error, "output stopped");
}

bool DecodeLz5(ByteSupplier& input, std::uint64_t originalSize, const ByteSink& sink,
               std::string& error) {
    constexpr int kHistoryBits = 12;
    constexpr std::uint32_t kMinMatch = 3;
    HistoryRing history(kHistoryBits, sink);
    FillLz5History(history.ring());
    history.SetPosition((std::size_t{1} << kHistoryBits) - 18);
    BitReader reader(input);
    std::uint64_t remaining = originalSize;
    while (remaining > 0) {
        reader.Refill();
        const std::uint32_t flags = reader.Take(8);
        for (int item = 0; item < 8 && remaining > 0; ++item) {
            reader.Refill();
            if ((flags >> item) & 1) {
                history.Put(static_cast<std::uint8_t>(reader.Take(8)));
                --remaining;
                continue;
            }
            const std::uint32_t low = reader.Take(8);
            const std::uint32_t high = reader.Take(8);
            const std::uint32_t from = ((high & 0xF0) << 4) | low;
            const std::uint32_t length = (high & 0x0F) + kMinMatch;
            if (length > remaining) return Fail(error, "copy beyond the member's end");
            history.Copy(from, length);
            remaining -= length;
        }
        if (reader.BitsPastEnd() > 0) return Fail(error, "data ends early");
        if (!history.Flush()) return Fail(error, "output stopped");
    }
    return history.Flush(true) || Fail(error, "output stopped");
}

}  // namespace archiver
