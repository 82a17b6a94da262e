// The compressor's own choices: "abcabcabcabc" bit for bit, and text and
// runs that shrink. Round trips are checked with the decoder's tests.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "encoder/compressor.h"
#include "encoder/sample_data.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(CompressBlock, WritesTheFourteenByteAbcBlock) {
  const std::string text = "abcabcabcabc";
  EXPECT_EQ(encoder::CompressBlock(Bytes(text.begin(), text.end())),
            (Bytes{0x71, 0x0A, 0x09, 0x0D, 0x0C, 0x00, 0x00, 0x00, 0x30, 0x98, 0x8C, 0x72, 0xEC, 0xC6}));
}

TEST(CompressBlock, ShrinksTextAndRuns) {
  const Bytes text = encoder::TextLikeBytes(16384, 2);
  EXPECT_LT(encoder::CompressBlock(text).size(), text.size() / 2);
  const Bytes zeros(100000, 0);
  EXPECT_LT(encoder::CompressBlock(zeros).size(), 2000u);  // 128-byte phrases at 13 bits
}

}  // namespace
