// DecompressBlock: the "abcabcabcabc" block, blocks it must leave alone, the
// busy flag, and streams that are damaged or end early.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "base/little_endian.h"
#include "codec/decompressor.h"
#include "codec/decompressor_testing.h"
#include "encoder/compressor.h"
#include "encoder/sample_data.h"
#include "tests/support/stream_builder.h"
#include "test_support.h"

namespace {

using encoder::Bytes;
using testing_support::Decompress;
using testing_support::BlockWithStream;
using testing_support::StreamBuilder;

TEST(DecompressBlock, DecodesTheFourteenByteAbcBlock) {
  const Bytes block = {0x71, 0x0A, 0x09, 0x0D, 0x0C, 0x00, 0x00, 0x00, 0x30, 0x98, 0x8C, 0x72, 0xEC, 0xC6};
  auto decoded = Decompress(block);
  EXPECT_EQ(decoded.result, 1);
  EXPECT_EQ(std::string(decoded.bytes.begin(), decoded.bytes.end()), "abcabcabcabc");
}

TEST(DecompressBlock, LeavesBlocksWithoutTheSignatureUntouched) {
  for (const Bytes& block : {Bytes{0x71, 0x0A, 0x09, 0x0C, 5, 0, 0, 0, 1}, Bytes{0x70, 0x0A, 0x09, 0x0D, 1, 0, 0, 0, 0},
                             Bytes{0x71, 0x0A, 0x09}, Bytes{0x71}, Bytes{}}) {
    archive::BlockBuffer buffer;
    archive::AllocateBlockBuffer(buffer, static_cast<uint32_t>(block.size()));
    if (!block.empty()) memcpy(buffer.data, block.data(), block.size());
    const archive::BlockBuffer before = buffer;
    EXPECT_EQ(codec::DecompressBlock(buffer), 1);
    EXPECT_EQ(buffer.data, before.data);
    EXPECT_EQ(buffer.handle.raw, before.handle.raw);
    ASSERT_EQ(buffer.length, block.size());
    EXPECT_EQ(Bytes(buffer.data, buffer.data + buffer.length), block);
    archive::ReleaseBlockBuffer(buffer);
  }
}

TEST(DecompressBlock, GivesAnEmptyBlockForAStatedLengthOfZeroOrAMissingOne) {
  for (const Bytes& block : {BlockWithStream(0, {0xFF, 0xFF}), BlockWithStream(0, {}), Bytes{0x71, 0x0A, 0x09, 0x0D, 3},
                             Bytes{0x71, 0x0A, 0x09, 0x0D}}) {
    auto decoded = Decompress(block);
    EXPECT_EQ(decoded.result, 1);
    EXPECT_TRUE(decoded.bytes.empty()) << block.size();
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

TEST(DecompressBlock, KeepsAllOfALastPhraseThatRunsPastTheStatedLength) {
  StreamBuilder stream;
  stream.Literals({'a', 'b', 'c'}).Code(0);  // "ab" ends one byte past 4
  EXPECT_EQ(Decompress(stream.Block(4)).bytes, (Bytes{'a', 'b', 'c', 'a', 'b'}));
}

TEST(DecompressBlock, TreatsSymbol4096AsAnEmptyPhraseThatTeachesNothing) {
  StreamBuilder stream;
  stream.Literals(encoder::RandomBytes(3000, 4));
  ASSERT_EQ(stream.dictionary().code_width, 12);
  stream.Code(3840).Literal('Z');
  const uint16_t free_before = stream.dictionary().next_free_code;
  stream.Literal('Y');  // Z after the empty phrase was not joined to it
  ASSERT_EQ(stream.dictionary().next_free_code, free_before + 1);
  auto decoded = Decompress(stream.Block(static_cast<uint32_t>(stream.expected().size())));
  EXPECT_EQ(decoded.bytes, stream.expected());
}

TEST(DecompressBlock, EndsWithWhatWasDecodedAtACodeThatDoesNotExist) {
  // First symbol a code: nothing decoded.
  EXPECT_TRUE(Decompress(StreamBuilder().Code(0).Block(10)).bytes.empty());

  StreamBuilder stream;
  stream.Literals({'x', 'y', 'z'}).Code(1);  // 257 "yz" exists
  const Bytes decoded_so_far = stream.expected();
  stream.Code(stream.dictionary().next_free_code - codec::kFirstPhraseCode).Literals({'q', 'q'});
  auto decoded = Decompress(stream.Block(100));
  EXPECT_EQ(decoded.result, 1);
  EXPECT_EQ(decoded.bytes, decoded_so_far);

  // A value beyond the tables at width 12.
  StreamBuilder wide;
  wide.Literals(encoder::RandomBytes(3000, 8));
  const Bytes before_wide = wide.expected();
  wide.Code(4000).Literal('a');
  EXPECT_EQ(Decompress(wide.Block(5000)).bytes, before_wide);
}

TEST(DecompressBlock, ReadsOnesPastAShortStreamAndStopsPromptly) {
  const Bytes plain = encoder::TextLikeBytes(5000, 3);
  Bytes block = encoder::CompressBlock(plain);
  const size_t full = block.size();
  for (size_t cut : {full - 1, full / 2, size_t{9}, size_t{8}}) {
    Bytes shortened(block.begin(), block.begin() + cut);
    auto decoded = Decompress(shortened);
    EXPECT_EQ(decoded.result, 1);
    ASSERT_LE(decoded.bytes.size(), plain.size() + codec::kMaxPhraseLength - 1);
    const size_t sound = std::min(decoded.bytes.size(), (cut - 8) * 8 / 13);  // symbols wholly inside
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + std::min(sound, decoded.bytes.size()), decoded.bytes.begin()));
  }

  // A stated length that no stream of this size could fill must not make
  // the decoder ask for memory it can never use.
  const Bytes text = encoder::TextLikeBytes(200);
  for (uint32_t stated : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
    Bytes lying = encoder::CompressBlock(text);
    base::WriteLe32(lying.data() + 4, stated);
    archive::BlockBuffer buffer;
    archive::AllocateBlockBuffer(buffer, static_cast<uint32_t>(lying.size()));
    memcpy(buffer.data, lying.data(), lying.size());
    EXPECT_EQ(codec::DecompressBlock(buffer), 1);
    EXPECT_LT(platform::MemSize(buffer.handle), 1000000u);
    ASSERT_GE(buffer.length, text.size());
    EXPECT_TRUE(std::equal(text.begin(), text.end(), buffer.data));
    archive::ReleaseBlockBuffer(buffer);
  }
}

}  // namespace
