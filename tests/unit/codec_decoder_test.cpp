// The decompressor: the "abcabcabcabc" block, blocks it must leave alone
// and stated lengths no stream could fill; and real blocks of
// every kind that decode back to their plain bytes and, damaged (cut short,
// bits flipped, lengths misstated, codes not made yet), decode as the
// reference model does. Streams of any codes are the differential fuzz
// target's.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "codec/block_cipher.h"
#include "codec/decoder.h"
#include "codec/decompressor.h"
#include "encoder/key_string.h"
#include "encoder/compressor.h"
#include "tests/support/sample_data.h"
#include "tests/support/compressed_blocks.h"
#include "tests/support/reference_dictionary.h"

namespace {

using test_support::Bytes;
using test_support::Decompress;

// The "abcabcabcabc" block, which the compressor must write bit for bit,
// and blocks without the signature, which stay as they are.
TEST(DecompressBlock, DecodesTheAbcBlockAndLeavesBlocksWithoutTheSignature) {
  const Bytes abc = {'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'};
  const Bytes block = {0x71, 0x0A, 0x09, 0x0D, 0x0C, 0, 0, 0, 0x30, 0x98, 0x8C, 0x72, 0xEC, 0xC6};
  EXPECT_EQ(encoder::CompressBlock(abc), block);
  EXPECT_EQ(Decompress(block), abc);
  for (const Bytes& unsigned_block : {Bytes{0x71, 0x0A, 0x09, 0x0C, 5, 0, 0, 0, 1}, Bytes{0x71, 0x0A, 0x09}, Bytes{}}) {
    EXPECT_EQ(Decompress(unsigned_block), unsigned_block);
  }
}

// A stated length that no stream of this size could fill must not make
// the decoder ask for memory it can never use.
TEST(DecompressBlock, AsksForNoMoreMemoryThanTheStreamCanFill) {
  const Bytes text = test_support::TextLikeBytes(200);
  for (uint32_t stated : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
    Bytes lying = encoder::CompressBlock(text);
    base::WriteLe32(lying.data() + 4, stated);
    archive::BlockBuffer buffer;
    buffer.Allocate(static_cast<uint32_t>(lying.size()));
    std::copy(lying.begin(), lying.end(), buffer.data());
    codec::DecompressBlock(buffer);
    EXPECT_LT(buffer.Capacity(), 1000000u);
    ASSERT_GE(buffer.length(), text.size());
    EXPECT_TRUE(std::equal(text.begin(), text.end(), buffer.data()));
  }
}

void ExpectSameAsReference(const Bytes& block, const std::string& what) {
  ASSERT_EQ(Decompress(block), reference::Decompress(block)) << what;
}

Bytes Plain(int kind, size_t length, unsigned seed) {
  return kind == 0 ? test_support::TextLikeBytes(length, seed)
         : kind == 1 ? test_support::BinaryLikeBytes(length, seed)
         : kind == 2 ? test_support::RandomBytes(length, seed)
         : kind == 3 ? test_support::RunBytes(length, 300, seed)
                     : Bytes(length, 0x71);
}

// Real blocks of each kind, short ones, ones that fill the codes and ones
// that recycle them for long, decode back to their plain bytes; damaged,
// they decode as the reference model does.
TEST(DecoderDifferential, RealBlocksDecodeBackAndDamagedOnesAsTheReferenceDoes) {
  std::mt19937 random(5);
  for (int kind = 0; kind < 5; ++kind) {
    for (size_t length : {1u, 300u, 4096u, 16384u, 70000u}) {
      const Bytes plain = Plain(kind, length, static_cast<unsigned>(kind * 100 + length));
      const Bytes real = encoder::CompressBlock(plain);
      const std::string size = " of kind " + std::to_string(kind) + ", length " + std::to_string(length);
      EXPECT_EQ(Decompress(real), plain) << size;
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
  // Large blocks that change their kind of data and keep recycling codes.
  Bytes mixed = test_support::TextLikeBytes(300000, 11);
  const Bytes random_part = test_support::RandomBytes(100000, 12);
  mixed.insert(mixed.begin() + 150000, random_part.begin(), random_part.end());
  for (const Bytes& plain : {mixed, test_support::RunBytes(200000, 1000, 13)}) {
    EXPECT_EQ(Decompress(encoder::CompressBlock(plain)), plain);
  }
  // And text and runs shrink: 128-byte phrases of zeros take 13 bits each.
  EXPECT_LT(encoder::CompressBlock(test_support::TextLikeBytes(16384, 2)).size(), 16384u / 2);
  EXPECT_LT(encoder::CompressBlock(Bytes(100000, 0)).size(), 2000u);
}

}  // namespace

codec::StreamCheck CheckOf(const Bytes& block) {
  archive::BlockBuffer buffer;
  buffer.Allocate(static_cast<uint32_t>(block.size()));
  std::copy(block.begin(), block.end(), buffer.data());
  return codec::DecompressBlock(buffer);
}

// A stream that an encoder made whole says so; one cut short, one stating
// more than it holds, or one reading codes not made yet says it is broken,
// and so does none deciphered with a key a character off.
TEST(StreamCheck, TellsWholeStreamsFromBrokenOnes) {
  for (int kind = 0; kind < 5; ++kind) {
    for (size_t length : {1u, 300u, 16384u}) {
      const Bytes real = encoder::CompressBlock(Plain(kind, length, 7));
      const std::string size = " of kind " + std::to_string(kind) + ", length " + std::to_string(length);
      EXPECT_EQ(CheckOf(real), codec::StreamCheck::kWhole) << size;
      EXPECT_EQ(CheckOf(Bytes(real.begin(), real.end() - 1)), codec::StreamCheck::kBroken) << "cut" << size;
      Bytes more = real;
      base::WriteLe32(more.data() + 4, base::ReadLe32(real.data() + 4) + 1);
      EXPECT_EQ(CheckOf(more), codec::StreamCheck::kBroken) << "stated + 1" << size;
    }
  }
  EXPECT_EQ(CheckOf({0x71, 0x0A, 0x09, 0x0D, 1, 0, 0, 0, 0xFF}), codec::StreamCheck::kBroken) << "code not made yet";
  // The start of a block alone: the code read before anything was made
  // lies inside the block's bytes, so only the code itself can tell.
  const unsigned char no_code_yet[] = {0x71, 0x0A, 0x09, 0x0D, 1, 0, 0, 0, 0xFF};
  archive::BlockBuffer start;
  uint32_t stated = 0;
  EXPECT_EQ(codec::DecodeBlockStart(no_code_yet, sizeof no_code_yet, 306, start, &stated), codec::StreamCheck::kBroken);
  EXPECT_EQ(CheckOf({0x71, 0x0A, 0x09, 0x0D, 0}), codec::StreamCheck::kBroken) << "no stated length";
  EXPECT_EQ(CheckOf({0x72, 1, 2, 3}), codec::StreamCheck::kStored);
}

TEST(StreamCheck, AKeyOneCharacterOffBreaksTheStream) {
  const Bytes real = encoder::CompressBlock(test_support::TextLikeBytes(16384, 3));
  const std::string password = "secret1";
  Bytes stored = real;
  codec::EncipherBlock(stored.data(), static_cast<uint32_t>(stored.size()), encoder::KeyString(password).get());
  for (size_t at = 0; at < password.size(); ++at) {
    for (char typo : {'!', 'a', 'S', '1', 'z'}) {
      std::string near = password;
      if (near[at] == typo) continue;
      near[at] = typo;
      Bytes deciphered = stored;
      codec::DecipherBlock(deciphered.data(), static_cast<uint32_t>(deciphered.size()), encoder::KeyString(near).get());
      // Most typos lose the signature, so the block reads as stored; the
      // others keep it and must not pass for a whole stream.
      EXPECT_NE(CheckOf(deciphered), codec::StreamCheck::kWhole) << near;
    }
  }
}

// A block that is only its signature and stated length: whole when it
// states nothing, broken otherwise, and the length it states is told.
TEST(StreamCheck, TheStartOfABlockWithNoStreamBytesStatesItsLength) {
  for (uint32_t length : {0u, 5u}) {
    Bytes block(codec::kCompressionSignature, codec::kCompressionSignature + 4);
    block.resize(8);
    base::WriteLe32(block.data() + 4, length);
    auto decoder = std::make_unique<codec::Decoder>();
    archive::BlockBuffer start;
    uint32_t stated = 99;
    EXPECT_EQ(decoder->DecodeStart(block.data(), 8, 306, start, &stated),
              length == 0 ? codec::StreamCheck::kWhole : codec::StreamCheck::kBroken)
        << length;
    EXPECT_EQ(stated, length);
    EXPECT_EQ(start.length(), 0u) << length;
  }
}

// The start of a block decodes as the whole block begins, from no more
// bytes than StreamBytesFor promises.
TEST(StreamCheck, DecodesTheStartOfABlockFromItsFirstBytes) {
  for (int kind = 0; kind < 5; ++kind) {
    for (size_t length : {10u, 305u, 306u, 16384u}) {
      const Bytes plain = Plain(kind, length, 9);
      const Bytes real = encoder::CompressBlock(plain);
      const uint32_t readable = std::min<uint32_t>(static_cast<uint32_t>(real.size()), codec::StreamBytesFor(306));
      codec::Decoder* decoder = new codec::Decoder();
      archive::BlockBuffer start;
      uint32_t stated = 0;
      EXPECT_EQ(decoder->DecodeStart(real.data(), readable, 306, start, &stated), codec::StreamCheck::kWhole);
      delete decoder;
      EXPECT_EQ(stated, length);
      ASSERT_GE(start.length(), std::min<size_t>(length, 306));
      EXPECT_TRUE(std::equal(start.data(), start.data() + std::min<size_t>(length, 306), plain.begin())) << kind;
    }
  }
}
