// The history of the older LZH methods (-lh1-, LArc's -lzs- and -lz5-): a ring of 2^bits
// bytes that copies read from, and the decoded bytes on their way to the sink in pieces.
#pragma once

#include <cstdint>
#include <vector>

#include "archiver/lzh_decoder.h"

namespace archiver {

class HistoryRing {
  public:
    HistoryRing(int bits, const ByteSink& sink)
        : ring_(std::size_t{1} << bits, ' '), mask_(ring_.size() - 1), sink_(sink) {
        pending_.reserve(kPiece);
    }

    // For a method whose history starts with other bytes than spaces, or elsewhere than at 0.
    std::uint8_t* ring() { return ring_.data(); }
    void SetPosition(std::size_t position) { position_ = position & mask_; }
    std::size_t position() const { return position_; }

    void Put(std::uint8_t byte) {
        ring_[position_] = byte;
        position_ = (position_ + 1) & mask_;
        pending_.push_back(byte);
    }
    // Copies `length` bytes starting at ring index `from`; the copy may overlap what it writes.
    void Copy(std::size_t from, std::uint32_t length) {
        for (std::uint32_t i = 0; i < length; ++i) Put(ring_[(from + i) & mask_]);
    }
    // Hands the pending bytes on once there are enough of them (or always, with `all`).
    bool Flush(bool all = false) {
        if (pending_.empty() || (!all && pending_.size() < kPiece)) return true;
        const bool ok = sink_(pending_.data(), pending_.size());
        pending_.clear();
        return ok;
    }

  private:
    static constexpr std::size_t kPiece = 1 << 15;
    std::vector<std::uint8_t> ring_;
    const std::size_t mask_;
    std::size_t position_ = 0;
    std::vector<std::uint8_t> pending_;
    const ByteSink& sink_;
};

}  // namespace archiver
