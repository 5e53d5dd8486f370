// Feeds arbitrary bytes to each LZH decoder as packed data: the first byte picks the method,
// the next three the original size. Decoding must end (with the size or an error), never
// hand on more bytes than the size, and never read or write outside its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archiver/bit_reader.h"
#include "archiver/larc_decoder.h"
#include "archiver/lh1_decoder.h"
#include "archiver/lzh_decoder.h"

namespace {

class OnceSupplier final : public archiver::ByteSupplier {
  public:
    OnceSupplier(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t Next(const std::uint8_t** data) override {
        if (done_ || size_ == 0) return 0;
        done_ = true;
        *data = data_;
        return size_;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    bool done_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint64_t original = data[1] | (data[2] << 8) | (std::uint64_t{data[3]} << 16);
    OnceSupplier input(data + 4, size - 4);
    std::uint64_t produced = 0;
    const archiver::ByteSink sink = [&](const std::uint8_t*, std::size_t count) {
        produced += count;
        if (produced > original) std::abort();
        return true;
    };
    std::string error;
    bool ok = false;
    switch (data[0] % 7) {
        case 0:
            ok = archiver::DecodeLh1(input, original, sink, error);
            break;
        case 1:
            ok = archiver::DecodeLzs(input, original, sink, error);
            break;
        case 2:
            ok = archiver::DecodeLz5(input, original, sink, error);
            break;
        case 3:
            ok = archiver::DecodeLzh(archiver::LzhMethod::kLh4, input, original, sink, error);
            break;
        case 4:
            ok = archiver::DecodeLzh(archiver::LzhMethod::kLh5, input, original, sink, error);
            break;
        case 5:
            ok = archiver::DecodeLzh(archiver::LzhMethod::kLh6, input, original, sink, error);
            break;
        default:
            ok = archiver::DecodeLzh(archiver::LzhMethod::kLh7, input, original, sink, error);
            break;
    }
    if (ok && produced != original) std::abort();
    return 0;
}
