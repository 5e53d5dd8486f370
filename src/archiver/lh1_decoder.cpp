#include "archiver/lh1_decoder.h"

#include <array>
#include <cstring>

#include "archiver/history_ring.h"

namespace archiver {
namespace {

constexpr int kHistoryBits = 12;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 60;
constexpr int kSymbols = 256 + kMaxMatch - kMinMatch + 1;  // literals, then lengths
constexpr int kNodes = 2 * kSymbols - 1;
constexpr int kRoot = kNodes - 1;
constexpr unsigned kMaxCount = 0x8000;  // the root's count at which every count is halved
constexpr std::int64_t kOverrunLimit = 64;

// The adaptive code. Nodes are kept in order of their counts; a node's children are
// child_[n] and child_[n] + 1, where a child index of kNodes + s or more is the leaf of
// symbol s. Counting a symbol moves each node on its path past the nodes whose counts it
// now exceeds, so the tree stays in sibling order, as the encoder's does.
class AdaptiveCode {
  public:
    AdaptiveCode() {
        for (int s = 0; s < kSymbols; ++s) {
            count_[s] = 1;
            child_[s] = s + kNodes;
            parent_[s + kNodes] = s;
        }
        for (int n = kSymbols, i = 0; n <= kRoot; ++n, i += 2) {
            count_[n] = count_[i] + count_[i + 1];
            child_[n] = i;
            parent_[i] = parent_[i + 1] = n;
        }
        count_[kNodes] = 0xFFFF;  // stops the search for a place at the end
        parent_[kRoot] = 0;
    }

    int Decode(BitReader& reader) {
        int node = child_[kRoot];
        int depth = 0;
        while (node < kNodes) {
            // The deepest leaf is at most kSymbols - 1 below the root.
            if (++depth % 32 == 0) reader.Refill();
            node = child_[node + static_cast<int>(reader.Take(1))];
        }
        const int symbol = node - kNodes;
        Count(symbol);
        return symbol;
    }

  private:
    void Count(int symbol) {
        if (count_[kRoot] == kMaxCount) Rebuild();
        int node = parent_[symbol + kNodes];
        do {
            const unsigned count = ++count_[node];
            int place = node + 1;
            if (count > count_[place]) {
                while (count > count_[++place]) {
                }
                --place;
                count_[node] = count_[place];
                count_[place] = count;
                const int moved = child_[node];
                parent_[moved] = place;
                if (moved < kNodes) parent_[moved + 1] = place;
                const int other = child_[place];
                child_[place] = moved;
                parent_[other] = node;
                if (other < kNodes) parent_[other + 1] = node;
                child_[node] = other;
                node = place;
            }
            node = parent_[node];
        } while (node != 0);
    }

    // Halves every leaf's count and builds the tree again from the leaves.
    void Rebuild() {
        int leaves = 0;
        for (int n = 0; n < kNodes; ++n) {
            if (child_[n] >= kNodes) {
                count_[leaves] = (count_[n] + 1) / 2;
                child_[leaves] = child_[n];
                ++leaves;
            }
        }
        for (int i = 0, n = kSymbols; n < kNodes; i += 2, ++n) {
            const unsigned count = count_[i] + count_[i + 1];
            int place = n - 1;
            while (count < count_[place]) --place;
            ++place;
            std::memmove(&count_[place + 1], &count_[place], (n - place) * sizeof(count_[0]));
            count_[place] = count;
            std::memmove(&child_[place + 1], &child_[place], (n - place) * sizeof(child_[0]));
            child_[place] = i;
        }
        for (int n = 0; n < kNodes; ++n) {
            const int child = child_[n];
            parent_[child] = n;
            if (child < kNodes) parent_[child + 1] = n;
        }
    }

    std::array<unsigned, kNodes + 1> count_{};
    std::array<int, kNodes> child_{};
    std::array<int, kNodes + kSymbols> parent_{};
};

// The fixed code of a distance's upper six bits: the values 0, 1-3, 4-11, 12-23, 24-47 and
// 48-63 take 3 to 8 bits, assigned in rising order. Indexed by the next 8 bits.
struct PositionCode {
    std::array<std::uint8_t, 256> upper{};
    std::array<std::uint8_t, 256> length{};
    PositionCode() {
        const std::array<int, 6> counts = {1, 3, 8, 12, 24, 16};
        int value = 0;
        int code = 0;  // left-aligned in 8 bits
        for (int i = 0; i < 6; ++i) {
            const int bits = 3 + i;
            for (int k = 0; k < counts[i]; ++k, ++value) {
                const int span = 1 << (8 - bits);
                for (int j = 0; j < span; ++j) {
                    upper[code + j] = static_cast<std::uint8_t>(value);
                    length[code + j] = static_cast<std::uint8_t>(bits);
                }
                code += span;
            }
        }
    }
};

bool Fail(std::string& error, const char* text) {
    error = text;
    return false;
}

}  // namespace

bool DecodeLh1(ByteSupplier& input, std::uint64_t originalSize, const ByteSink& sink,
               std::string& error) {
    static const PositionCode kPosition;
    AdaptiveCode code;
    HistoryRing history(kHistoryBits, sink);
    BitReader reader(input);
    std::uint64_t remaining = originalSize;
    while (remaining > 0) {
        reader.Refill();
        if (reader.BitsPastEnd() > kOverrunLimit) return Fail(error, "data ends early");
        const int symbol = code.Decode(reader);
        reader.Refill();
        if (symbol < 256) {
            history.Put(static_cast<std::uint8_t>(symbol));
            --remaining;
        } else {
            const std::uint32_t length = static_cast<std::uint32_t>(symbol - 256 + kMinMatch);
            if (length > remaining) return Fail(error, "copy beyond the member's end");
            const std::uint32_t next = reader.Peek(8);
            reader.Skip(kPosition.length[next]);
            const std::uint32_t distance =
                (std::uint32_t{kPosition.upper[next]} << 6) | reader.Take(6);
            history.Copy(history.position() - distance - 1, length);
            remaining -= length;
        }
        if (!history.Flush()) return Fail(error, "output stopped");
    }
    if (reader.BitsPastEnd() > 0) return Fail(error, "data ends early");
    return history.Flush(true) || Fail(error, "output stopped");
}

}  // namespace archiver
