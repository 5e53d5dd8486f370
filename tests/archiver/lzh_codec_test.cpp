// The -lh5- encoder against the decoder, and the decoder against damaged streams.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_test_support.h"
#include "archiver/bit_reader.h"
#include "archiver/bit_writer.h"
#include "archiver/huffman_code.h"
#include "archiver/lh5_encoder.h"
#include "archiver/lzh_decoder.h"

namespace archiver {
namespace {

class VectorSupplier final : public ByteSupplier {
  public:
    explicit VectorSupplier(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::size_t Next(const std::uint8_t** data) override {
        if (done_ || bytes_.empty()) return 0;
        done_ = true;
        *data = bytes_.data();
        return bytes_.size();
    }

  private:
    const std::vector<std::uint8_t>& bytes_;
    bool done_ = false;
};

// Hands the bytes on in pieces of 1 to 13 bytes, so that the bit reader mixes its refills of
// eight bytes with refills byte by byte across the pieces' edges.
class PieceSupplier final : public ByteSupplier {
  public:
    explicit PieceSupplier(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::size_t Next(const std::uint8_t** data) override {
        if (at_ >= bytes_.size()) return 0;
        const std::size_t size = std::min<std::size_t>(1 + (at_ * 7) % 13, bytes_.size() - at_);
        *data = bytes_.data() + at_;
        at_ += size;
        return size;
    }

  private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

std::vector<std::uint8_t> Compress(const std::string& input, std::size_t piece = 100000) {
    std::vector<std::uint8_t> packed;
    Lh5Encoder encoder([&](const std::uint8_t* data, std::size_t size) {
        packed.insert(packed.end(), data, data + size);
        return true;
    });
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.data());
    for (std::size_t at = 0; at < input.size(); at += piece) {
        EXPECT_TRUE(encoder.Write(bytes + at, std::min(piece, input.size() - at)));
    }
    EXPECT_TRUE(encoder.Finish());
    EXPECT_EQ(encoder.packedSize(), packed.size());
    return packed;
}

bool Decompress(const std::vector<std::uint8_t>& packed, std::size_t size, std::string& out,
                std::string& error) {
    VectorSupplier supplier(packed);
    out.clear();
    return DecodeLzh(
        LzhMethod::kLh5, supplier, size,
        [&](const std::uint8_t* data, std::size_t count) {
            out.append(reinterpret_cast<const char*>(data), count);
            return true;
        },
        error);
}

TEST(Lh5Codec, RoundTripsVariedData) {
    std::string mixed = archiver_test::SampleText(300000, 7) +
                        archiver_test::RandomBytes(70000, 3) + std::string(100000, 'z') +
                        archiver_test::SampleText(50000, 9);
    const std::vector<std::string> inputs = {
        "a",
        "ab",
        "abcabcabcabcabcabcabcabcabc",
        std::string(1, '\0') + std::string(600, '\xFF'),
        std::string(1 << 20, 'x'),  // one symbol and one position in every block
        archiver_test::RandomBytes(200000, 5),
        mixed,
    };
    for (const std::string& input : inputs) {
        for (const std::size_t piece : {std::size_t{1} << 20, std::size_t{4093}}) {
            const std::vector<std::uint8_t> packed = Compress(input, piece);
            std::string out;
            std::string error;
            ASSERT_TRUE(Decompress(packed, input.size(), out, error)) << error;
            EXPECT_TRUE(out == input) << "size " << input.size();
        }
    }
}

// The decoder keeps its tables from stream to stream: a stream with codes longer than the
// first table level, one whose code is complete and short, one of a single symbol and a
// member in small pieces must each decode as if alone, in any order.
TEST(Lh5Codec, StreamsDecodeAloneAfterOneAnotherAndInSmallPieces) {
    // Symbol k about half as often as symbol k - 1, shuffled: codes beyond twelve bits.
    std::string skewed;
    for (int k = 0; k < 24; ++k)
        skewed.append(std::max(1, 200000 >> k), static_cast<char>('A' + k));
    std::uint32_t state = 12345;
    for (std::size_t i = skewed.size() - 1; i > 0; --i) {
        state = state * 1103515245u + 12345u;
        std::swap(skewed[i], skewed[(state >> 8) % (i + 1)]);
    }
    skewed += archiver_test::RandomBytes(3000, 11);
    const std::vector<std::string> inputs = {
        skewed,
        archiver_test::SampleText(5000, 4),
        std::string(3000, 'q'),
        archiver_test::SampleText(70000, 5) + archiver_test::RandomBytes(9000, 6),
        skewed,
        "xyz",
    };
    for (int round = 0; round < 2; ++round) {
        for (const std::string& input : inputs) {
            const std::vector<std::uint8_t> packed = Compress(input);
            std::string out;
            std::string error;
            ASSERT_TRUE(Decompress(packed, input.size(), out, error)) << error;
            EXPECT_TRUE(out == input) << "size " << input.size();
            PieceSupplier pieces(packed);
            out.clear();
            ASSERT_TRUE(DecodeLzh(
                LzhMethod::kLh5, pieces, input.size(),
                [&](const std::uint8_t* data, std::size_t count) {
                    out.append(reinterpret_cast<const char*>(data), count);
                    return true;
                },
                error))
                << error;
            EXPECT_TRUE(out == input) << "in pieces, size " << input.size();
        }
    }
}

TEST(Lh5Codec, CompressesTextWell) {
    const std::string text = archiver_test::SampleText(500000, 2);
    EXPECT_LT(Compress(text).size(), text.size() * 2 / 5);
}

TEST(Lh5Codec, CodeLengthsStayWithinSixteenBitsAndFormACode) {
    // Fibonacci frequencies make an unrestricted Huffman tree far deeper than 16.
    std::vector<std::uint32_t> frequencies(40);
    std::uint32_t a = 1, b = 1;
    for (auto& f : frequencies) {
        f = a;
        const std::uint32_t next = a + b;
        a = b;
        b = next > 1000000000 ? 1000000000 : next;
    }
    const std::vector<std::uint8_t> lengths = BuildCodeLengths(frequencies);
    std::uint64_t kraft = 0;
    for (const std::uint8_t length : lengths) {
        ASSERT_GE(length, 1);
        ASSERT_LE(length, 16);
        kraft += std::uint64_t{1} << (16 - length);
    }
    EXPECT_EQ(kraft, std::uint64_t{1} << 16);
}

TEST(Lh5Codec, TruncatedDataFailsInsteadOfRunningOn) {
    const std::string input = archiver_test::SampleText(100000, 4);
    std::vector<std::uint8_t> packed = Compress(input);
    packed.resize(packed.size() / 3);
    std::string out;
    std::string error;
    EXPECT_FALSE(Decompress(packed, input.size(), out, error));
    // A size far beyond the data must stop as early.
    EXPECT_FALSE(Decompress(packed, std::uint64_t{1} << 40, out, error));
}

TEST(Lh5Codec, TableThatIsNoCodeIsRejected) {
    BitWriter bits;
    bits.Put(16, 10);                            // block of 10 symbols
    bits.Put(5, 4);                              // four code-length-code lengths...
    for (int i = 0; i < 3; ++i) bits.Put(3, 1);  // ...three of length 1: over-full
    bits.Put(2, 0);
    bits.Put(3, 1);
    for (int i = 0; i < 8; ++i) bits.Put(8, 0);
    bits.FlushBits();
    std::string out;
    std::string error;
    EXPECT_FALSE(Decompress(bits.bytes(), 10, out, error));
    EXPECT_EQ(error, "code lengths form no code");
}

TEST(Lh5Codec, CopyBeyondTheMemberIsRejected) {
    // A block whose only symbol is a 256-byte copy, for a member of 10 bytes.
    BitWriter bits;
    bits.Put(16, 1);
    bits.Put(5, 0);
    bits.Put(5, 0);
    bits.Put(9, 0);
    bits.Put(9, 509);
    bits.Put(4, 0);
    bits.Put(4, 0);
    bits.FlushBits();
    std::string out;
    std::string error;
    EXPECT_FALSE(Decompress(bits.bytes(), 10, out, error));
    // The same block decodes 256 bytes of the initial dictionary (spaces).
    ASSERT_TRUE(Decompress(bits.bytes(), 256, out, error)) << error;
    EXPECT_EQ(out, std::string(256, ' '));
}

}  // namespace
}  // namespace archiver
