// Streaming -lh5- compressor: LZ77 over an 8 KB dictionary with lazy matching, and one
// Huffman-coded block per batch of symbols. Memory use is fixed (about 600 KB).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace archiver {

class Lh5Encoder {
  public:
    // Receives the packed bytes; returning false makes Write and Finish fail.
    using Output = std::function<bool(const std::uint8_t* data, std::size_t size)>;

    explicit Lh5Encoder(Output output);
    ~Lh5Encoder();
    Lh5Encoder(const Lh5Encoder&) = delete;
    Lh5Encoder& operator=(const Lh5Encoder&) = delete;

    // Starts a new stream to the same output, keeping the memory.
    void Reset();
    bool Write(const std::uint8_t* data, std::size_t size);
    // Codes what is left and pads the last byte. Nothing may be written afterwards.
    bool Finish();
    std::uint64_t packedSize() const;
    // Input bytes coded into finished blocks so far, and the packed bytes they
    // took: together they tell early whether the input compresses at all.
    std::uint64_t codedInput() const;
    std::uint64_t codedOutput() const;

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace archiver
