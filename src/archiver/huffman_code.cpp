#include "archiver/huffman_code.h"

#include <algorithm>
#include <numeric>
#include <queue>

namespace archiver {
namespace {

struct Node {
    std::uint64_t weight;
    int left;
    int right;
};

// Depth of every leaf of an ordinary Huffman tree over the used symbols, which are given in
// order of increasing frequency.
std::vector<int> LeafDepths(const std::vector<std::uint32_t>& frequencies,
                            const std::vector<int>& symbols) {
    std::vector<Node> nodes;
    nodes.reserve(symbols.size() * 2);
    using Entry = std::pair<std::uint64_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (const int symbol : symbols) {
        nodes.push_back({frequencies[symbol], -1, -1});
        queue.emplace(nodes.back().weight, static_cast<int>(nodes.size()) - 1);
    }
    while (queue.size() > 1) {
        const auto [w1, a] = queue.top();
        queue.pop();
        const auto [w2, b] = queue.top();
        queue.pop();
        nodes.push_back({w1 + w2, a, b});
        queue.emplace(w1 + w2, static_cast<int>(nodes.size()) - 1);
    }
    std::vector<int> depth(nodes.size(), 0);
    for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i) {
        if (nodes[i].left >= 0) {
            depth[nodes[i].left] = depth[i] + 1;
            depth[nodes[i].right] = depth[i] + 1;
        }
    }
    depth.resize(symbols.size());
    return depth;
}

}  // namespace

std::vector<std::uint8_t> BuildCodeLengths(const std::vector<std::uint32_t>& frequencies,
                                           int maxLength) {
    std::vector<std::uint8_t> lengths(frequencies.size(), 0);
    std::vector<int> symbols;
    for (int i = 0; i < static_cast<int>(frequencies.size()); ++i) {
        if (frequencies[i] > 0) symbols.push_back(i);
    }
    if (symbols.size() < 2) return lengths;
    std::stable_sort(symbols.begin(), symbols.end(),
                     [&](int a, int b) { return frequencies[a] < frequencies[b]; });

    std::vector<int> count(maxLength + 1, 0);
    for (const int depth : LeafDepths(frequencies, symbols)) {
        ++count[std::min(depth, maxLength)];
    }
    // Clamping deep leaves overfills the code space; move leaves down one level at a time
    // until the code is complete again.
    std::uint64_t kraft = 0;
    for (int length = 1; length <= maxLength; ++length) {
        kraft += static_cast<std::uint64_t>(count[length]) << (maxLength - length);
    }
    while (kraft > (std::uint64_t{1} << maxLength)) {
        --count[maxLength];
        for (int length = maxLength - 1; length > 0; --length) {
            if (count[length] > 0) {
                --count[length];
                count[length + 1] += 2;
                break;
            }
        }
        --kraft;
    }
    // The most frequent symbols take the shortest codes.
    auto symbol = symbols.rbegin();
    for (int length = 1; length <= maxLength; ++length) {
        for (int i = 0; i < count[length]; ++i)
            lengths[*symbol++] = static_cast<std::uint8_t>(length);
    }
    return lengths;
}

std::vector<std::uint16_t> BuildCanonicalCodes(const std::vector<std::uint8_t>& lengths) {
    std::vector<std::uint32_t> count(kMaxCodeLength + 2, 0);
    for (const std::uint8_t length : lengths) ++count[length];
    count[0] = 0;
    std::vector<std::uint32_t> next(kMaxCodeLength + 2, 0);
    for (int length = 1; length <= kMaxCodeLength; ++length) {
        next[length + 1] = (next[length] + count[length]) << 1;
    }
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (lengths[i] > 0) codes[i] = static_cast<std::uint16_t>(next[lengths[i]]++);
    }
    return codes;
}

}  // namespace archiver
