// The compressor against the decompressor: "abcabcabcabc" bit for bit
// and round trips over many lengths and kinds of data.
#include <gtest/gtest.h>
#include <string>

#include "encoder/compressor.h"
#include "encoder/sample_data.h"
#include "test_support.h"

namespace {

using encoder::Bytes;

void ExpectRoundTrip(const Bytes& plain, const std::string& what) {
  const Bytes block = encoder::CompressBlock(plain);
  auto decoded = testing_support::Decompress(block);
  ASSERT_EQ(decoded.result, 1) << what;
  ASSERT_EQ(decoded.bytes, plain) << what << " length " << plain.size();
}

TEST(CompressBlock, WritesTheFourteenByteAbcBlock) {
  const std::string text = "abcabcabcabc";
  EXPECT_EQ(encoder::CompressBlock(Bytes(text.begin(), text.end())),
            (Bytes{0x71, 0x0A, 0x09, 0x0D, 0x0C, 0x00, 0x00, 0x00, 0x30, 0x98, 0x8C, 0x72, 0xEC, 0xC6}));
}

TEST(CompressBlock, RoundTripsEveryKindOfDataOverManyLengths) {
  for (size_t length = 0; length < 3000; length += 1 + length / 5) {
    const unsigned seed = static_cast<unsigned>(length);
    ExpectRoundTrip(encoder::RandomBytes(length, seed), "random");
    ExpectRoundTrip(encoder::TextLikeBytes(length, seed), "text");
    ExpectRoundTrip(encoder::RunBytes(length, 400, seed), "long runs");
    ExpectRoundTrip(Bytes(length, 0x71), "one byte");
  }
  // Around the 256-byte staging of the output.
  for (size_t length : {255u, 256u, 257u, 511u, 512u, 513u}) ExpectRoundTrip(Bytes(length, 'r'), "staging");
}

TEST(CompressBlock, RoundTripsLargeBlocksThatKeepRecyclingCodes) {
  Bytes mixed = encoder::TextLikeBytes(300000, 11);
  const Bytes random = encoder::RandomBytes(100000, 12);
  mixed.insert(mixed.begin() + 150000, random.begin(), random.end());
  ExpectRoundTrip(mixed, "mixed");
  ExpectRoundTrip(encoder::RunBytes(200000, 1000, 13), "runs");
}

TEST(CompressBlock, ShrinksTextAndRuns) {
  const Bytes text = encoder::TextLikeBytes(16384, 2);
  EXPECT_LT(encoder::CompressBlock(text).size(), text.size() / 2);
  const Bytes zeros(100000, 0);
  EXPECT_LT(encoder::CompressBlock(zeros).size(), 2000u);  // 128-byte phrases at 13 bits
}

}  // namespace
