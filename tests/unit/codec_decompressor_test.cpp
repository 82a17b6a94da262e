// DecompressBlock on hand-made blocks: the "abcabcabcabc" block (which the
// compressor must write bit for bit), blocks it must leave alone, streams that end early or are damaged, the busy flag,
// and stated lengths no stream could fill.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/little_endian.h"
#include "codec/decompressor.h"
#include "codec/decompressor_testing.h"
#include "encoder/compressor.h"
#include "encoder/sample_data.h"
#include "tests/support/compressed_blocks.h"

namespace {

using testing_support::Bytes;
using testing_support::Decompress;
using testing_support::StreamBuilder;

TEST(DecompressBlock, DecodesHandMadeBlocksByTheRules) {
  struct Case {
    std::string what;
    Bytes block, expected;
  };
  const Bytes abc = {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'};
  std::vector<Case> cases = {
      {"the abc block", {0x71, 0x0A, 0x09, 0x0D, 0x0C, 0, 0, 0, 0x30, 0x98, 0x8C, 0x72, 0xEC, 0xC6}, abc},
      {"no stated length", {0x71, 0x0A, 0x09, 0x0D, 3}, {}},
      {"stated length 0", StreamBuilder().Literals(abc).Block(0), {}},
      {"the last phrase runs past the stated length", StreamBuilder().Literals({'a', 'b', 'c'}).Code(0).Block(4),
       {'a', 'b', 'c', 'a', 'b'}},
      {"a code first", StreamBuilder().Code(0).Literal('a').Block(10), {}},
  };
  for (const Bytes& unsigned_block : {Bytes{0x71, 0x0A, 0x09, 0x0C, 5, 0, 0, 0, 1}, Bytes{0x71, 0x0A, 0x09}, Bytes{}}) {
    cases.push_back({"no signature", unsigned_block, unsigned_block});
  }
  // A code not made yet, and a value beyond the tables at width 12, end
  // the block with what was decoded.
  StreamBuilder missing, beyond;
  missing.Literals({'x', 'y', 'z'}).Code(1);  // 257 "yz" exists
  const Bytes before_missing = missing.expected();
  const uint32_t next_value = missing.dictionary().next_free_code() - codec::kFirstPhraseCode;
  cases.push_back({"a code not made yet", missing.Code(next_value).Literals({'q', 'q'}).Block(100), before_missing});
  beyond.Literals(encoder::RandomBytes(3000, 8));
  const Bytes before_beyond = beyond.expected();
  cases.push_back({"a value beyond the tables", beyond.Code(4000).Literal('a').Block(5000), before_beyond});
  // Symbol 4096 is an empty phrase: the Z after it extends nothing.
  StreamBuilder empty;
  empty.Literals(encoder::RandomBytes(3000, 4));
  ASSERT_EQ(empty.dictionary().code_width(), 12u);
  empty.Code(codec::kNoCode - codec::kFirstPhraseCode).Literal('Z');
  const uint32_t free_before = empty.dictionary().next_free_code();
  empty.Literal('Y');
  EXPECT_EQ(empty.dictionary().next_free_code(), free_before + 1);
  cases.push_back({"the empty phrase", empty.Block(static_cast<uint32_t>(empty.expected().size())), empty.expected()});

  EXPECT_EQ(encoder::CompressBlock(abc), cases[0].block) << "the compressor writes the abc block bit for bit";
  for (const Case& c : cases) {
    const auto decoded = Decompress(c.block);
    EXPECT_EQ(decoded.result, 1) << c.what;
    EXPECT_EQ(decoded.bytes, c.expected) << c.what;
  }
}

TEST(DecompressBlock, TurnsAwayACallWhileOneIsRunning) {
  const Bytes block = encoder::CompressBlock(encoder::TextLikeBytes(300));
  codec::testing_hooks::SetDecompressorBusy(true);
  auto refused = Decompress(block);
  codec::testing_hooks::SetDecompressorBusy(false);
  EXPECT_EQ(refused.result, 0);
  EXPECT_EQ(refused.bytes, block);
  EXPECT_EQ(Decompress(block).bytes, encoder::TextLikeBytes(300));
}

// A stated length that no stream of this size could fill must not make
// the decoder ask for memory it can never use.
TEST(DecompressBlock, AsksForNoMoreMemoryThanTheStreamCanFill) {
  const Bytes text = encoder::TextLikeBytes(200);
  for (uint32_t stated : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
    Bytes lying = encoder::CompressBlock(text);
    base::WriteLe32(lying.data() + 4, stated);
    archive::BlockBuffer buffer;
    archive::AllocateBlockBuffer(buffer, static_cast<uint32_t>(lying.size()));
    std::copy(lying.begin(), lying.end(), buffer.data);
    EXPECT_EQ(codec::DecompressBlock(buffer), 1);
    EXPECT_LT(platform::MemSize(buffer.handle), 1000000u);
    ASSERT_GE(buffer.length, text.size());
    EXPECT_TRUE(std::equal(text.begin(), text.end(), buffer.data));
    archive::ReleaseBlockBuffer(buffer);
  }
}

}  // namespace
