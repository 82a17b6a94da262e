// The compressor and the codec's decoder against the reference model: real
// blocks of every kind and size decode back to their plain bytes, and
// damaged blocks decode as the reference does. Streams of any codes are the
// dictionary's differential test and the differential fuzz target's.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "encoder/compressor.h"
#include "encoder/sample_data.h"
#include "tests/support/compressed_blocks.h"
#include "tests/support/reference_dictionary.h"

namespace {

using testing_support::Bytes;

void ExpectSameAsReference(const Bytes& block, const std::string& what) {
  const auto decoded = testing_support::Decompress(block);
  ASSERT_EQ(decoded.result, 1) << what;
  ASSERT_EQ(decoded.bytes, reference::Decompress(block)) << what;
}

Bytes Plain(int kind, size_t length, unsigned seed) {
  return kind == 0 ? encoder::TextLikeBytes(length, seed)
         : kind == 1 ? encoder::BinaryLikeBytes(length, seed)
         : kind == 2 ? encoder::RandomBytes(length, seed)
         : kind == 3 ? encoder::RunBytes(length, 300, seed)
                     : Bytes(length, 0x71);
}

// A few real blocks of each kind: short ones, ones that fill the codes,
// and ones that recycle them for long.
std::vector<Bytes> RealBlocks() {
  std::vector<Bytes> blocks;
  for (int kind = 0; kind < 4; ++kind) {
    for (size_t length : {1u, 300u, 4096u, 16384u, 70000u}) {
      blocks.push_back(encoder::CompressBlock(Plain(kind, length, static_cast<unsigned>(kind * 100 + length))));
    }
  }
  return blocks;
}

TEST(CodecDifferential, RealBlocksOfEveryKindAndSizeShrinkAndDecodeBack) {
  std::vector<size_t> lengths = {255, 256, 257, 511, 512, 513, 4095, 8192, 16384, 65536};
  for (size_t length = 0; length < 3000; length += 1 + length / 4) lengths.push_back(length);
  for (int kind = 0; kind < 5; ++kind) {
    for (size_t length : lengths) {
      const Bytes plain = Plain(kind, length, static_cast<unsigned>(length + kind));
      const Bytes block = encoder::CompressBlock(plain);
      const std::string what = "kind " + std::to_string(kind) + " length " + std::to_string(length);
      ExpectSameAsReference(block, what);
      EXPECT_EQ(testing_support::Decompress(block).bytes, plain) << what;
    }
  }
  // Large blocks that change their kind of data and keep recycling codes.
  Bytes mixed = encoder::TextLikeBytes(300000, 11);
  const Bytes random = encoder::RandomBytes(100000, 12);
  mixed.insert(mixed.begin() + 150000, random.begin(), random.end());
  for (const Bytes& plain : {mixed, encoder::RunBytes(200000, 1000, 13)}) {
    EXPECT_EQ(testing_support::Decompress(encoder::CompressBlock(plain)).bytes, plain);
  }
  // And text and runs shrink: 128-byte phrases of zeros take 13 bits each.
  EXPECT_LT(encoder::CompressBlock(encoder::TextLikeBytes(16384, 2)).size(), 16384u / 2);
  EXPECT_LT(encoder::CompressBlock(Bytes(100000, 0)).size(), 2000u);
}

TEST(CodecDifferential, DamagedBlocksDecodeAlike) {
  std::mt19937 random(5);
  for (const Bytes& real : RealBlocks()) {
    const std::string size = " of " + std::to_string(real.size());
    for (int flip = 0; flip < 24; ++flip) {  // single bits, in the header too
      Bytes damaged = real;
      const size_t bit = random() % (damaged.size() * 8);
      damaged[bit / 8] ^= static_cast<unsigned char>(0x80 >> bit % 8);
      ExpectSameAsReference(damaged, "flip " + std::to_string(bit) + size);
    }
    for (size_t cut : {real.size() - 1, real.size() / 2, real.size() / 7 + 8, size_t{9}, size_t{8}, size_t{5}}) {
      if (cut > real.size()) continue;
      ExpectSameAsReference(Bytes(real.begin(), real.begin() + cut), "cut to " + std::to_string(cut) + size);
    }
    // Wrong stated lengths, and a run of 1-bits standing for codes beyond
    // those made.
    const uint32_t stated = base::ReadLe32(real.data() + 4);
    for (uint32_t lie : {0u, 1u, stated / 2, stated + 1, stated + 200, 0xFFFFFFFFu}) {
      Bytes lying = real;
      base::WriteLe32(lying.data() + 4, lie);
      ExpectSameAsReference(lying, "stated " + std::to_string(lie) + size);
    }
    Bytes ones = real;
    for (size_t i = ones.size() / 3; i < ones.size() / 3 + 6 && i < ones.size(); ++i) ones[i] = 0xFF;
    ExpectSameAsReference(ones, "1-bits inside" + size);
  }
}

}  // namespace
