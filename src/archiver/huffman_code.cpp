#include "archiver/huffman_code.h"

#include <algorithm>
#include <numeric>

namespace archiver {
namespace {

struct Node {
    std::uint64_t weight;
    int left;
    int right;
};

// Depth of every leaf of an ordinary Huffman tree over the used symbols, which are given in
// order of increasing frequency. With the leaves sorted, the merged nodes come out in order
// too, so two queues replace a priority queue: the lighter front is taken each time, a leaf
// on a tie (the order of (weight, node number), leaves being numbered first).
std::vector<int> LeafDepths(const std::vector<std::uint32_t>& frequencies,
                            const std::vector<int>& symbols) {
    const std::size_t leaves = symbols.size();
    std::vector<Node> nodes;
    nodes.reserve(leaves * 2);
    for (const int symbol : symbols) nodes.push_back({frequencies[symbol], -1, -1});
    std::size_t nextLeaf = 0, nextMerged = leaves;
    const auto take = [&]() {
        const bool leaf = nextLeaf < leaves && (nextMerged >= nodes.size() ||
                                                nodes[nextLeaf].weight <= nodes[nextMerged].weight);
        return static_cast<int>(leaf ? nextLeaf++ : nextMerged++);
    };
    for (std::size_t merges = 1; merges < leaves; ++merges) {
        const int a = take();
        const int b = take();
        nodes.push_back({nodes[a].weight + nodes[b].weight, a, b});
    }
    std::vector<int> depth(nodes.size(), 0);
    for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i) {
        if (nodes[i].left >= 0) {
            depth[nodes[i].left] = depth[i] + 1;
            depth[nodes[i].right] = depth[i] + 1;
        }
    }
    depth.resize(leaves);
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
