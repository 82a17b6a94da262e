// The block cipher: the key string, each pass against its plain
// definition, the seven-pass order, and the two directions together.
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "codec/block_cipher.h"
#include "codec/cipher_passes.h"
#include "test_support.h"

namespace {

using encoder::Bytes;
using testing_support::PatternBytes;

struct FreeDeleter {
  void operator()(char* p) const { free(p); }
};
using KeyString = std::unique_ptr<char, FreeDeleter>;

KeyString Key(const std::string& password) {
  return KeyString(codec::BuildKeyString(password.data(), static_cast<uint32_t>(password.size())));
}

// The transposition exactly as defined: new[start + ((r + 1) mod R) n + x]
// = old[start + r n + x] for even x, with the matrix inside the block.
Bytes ModelTranspose(Bytes b, int32_t start, int32_t step, bool inverse = false) {
  const uint32_t rows = static_cast<uint32_t>(step) + 7u;
  if (start < 0 || rows < 2 || b.size() < static_cast<size_t>(start)) return b;
  const uint32_t n = static_cast<uint32_t>(b.size() - start) / rows;
  Bytes old = b;
  for (uint32_t r = 0; r < rows && n > 0; ++r) {
    for (uint32_t x = 0; x < n; x += 2) {
      const size_t here = start + size_t{r} * n + x, below = start + size_t{(r + 1) % rows} * n + x;
      if (inverse) {
        b[here] = old[below];
      } else {
        b[below] = old[here];
      }
    }
  }
  return b;
}

Bytes ModelKeyXor(Bytes b, size_t first, const std::string& key) {
  for (size_t p = first; p < b.size(); ++p) b[p] ^= static_cast<unsigned char>(key[(p - first) % key.size()]);
  return b;
}

Bytes ModelChainXor(const Bytes& old) {
  Bytes b = old;
  for (size_t p = 1; p < b.size(); ++p) b[p] = old[p] ^ old[p - 1];
  return b;
}

Bytes ModelDecipher(Bytes b, const std::string& key) {
  auto k = [&](int i) { return static_cast<int32_t>(static_cast<signed char>(key[i])); };
  b = ModelTranspose(b, k(1), k(3));
  b = ModelKeyXor(b, 1, key);
  b = ModelTranspose(b, k(0), k(2));
  b = ModelChainXor(b);
  b = ModelTranspose(b, 2, 2);
  b = ModelKeyXor(b, 0, key);
  return b.empty() ? b : ModelTranspose(b, 1, b[0]);
}

Bytes Transposed(Bytes b, int32_t start, int32_t step) {
  codec::TransposePass(b.data(), static_cast<uint32_t>(b.size()), start, step);
  return b;
}

Bytes Counting(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(i);
  return b;
}

TEST(KeyString, AppendsTheByteCountWithAtLeastThreeDigits) {
  KeyString seven = Key("abcdefg");
  ASSERT_TRUE(seven);
  EXPECT_STREQ(seven.get(), "abcdefg007");

  const std::string long_password(1234, 'x');
  KeyString long_key = Key(long_password);
  ASSERT_TRUE(long_key);
  EXPECT_EQ(strlen(long_key.get()), 1238u);
  EXPECT_EQ(std::string(long_key.get() + 1234), "1234");

  EXPECT_STREQ(Key("").get(), "000");
  EXPECT_STREQ(Key(std::string(99, 'p')).get() + 99, "099");
  EXPECT_STREQ(Key(std::string(100, 'p')).get() + 100, "100");
}

TEST(CipherPasses, ChainXorCombinesEachByteWithItsPredecessorsOldValue) {
  Bytes b = {0x61, 0x62, 0x63, 0x64, 0x65, 0x66};
  codec::ChainXorPass(b.data(), 6);
  EXPECT_EQ(b, (Bytes{0x61, 0x03, 0x01, 0x07, 0x01, 0x03}));
  codec::InverseChainXorPass(b.data(), 6);
  EXPECT_EQ(b, (Bytes{0x61, 0x62, 0x63, 0x64, 0x65, 0x66}));

  for (size_t n : {0u, 1u, 2u, 8u, 9u, 10u, 17u, 1000u}) {
    Bytes data = PatternBytes(n, static_cast<unsigned>(n));
    Bytes chained = data;
    codec::ChainXorPass(chained.data(), static_cast<uint32_t>(n));
    EXPECT_EQ(chained, ModelChainXor(data)) << n;
  }
}

TEST(CipherPasses, TransposeOfSmallBlocksByHand) {
  // Start 2, step 2 on 30 bytes: nine rows of three columns from position 2.
  Bytes b = Transposed(Counting(30), 2, 2);
  EXPECT_EQ(b[5], 2);
  EXPECT_EQ(b[8], 5);
  EXPECT_EQ(b[2], 26);
  EXPECT_EQ(b[7], 4);
  EXPECT_EQ(b[4], 28);
  for (size_t p : {0u, 1u, 29u}) EXPECT_EQ(b[p], p);
  for (size_t p = 3; p <= 27; p += 3) EXPECT_EQ(b[p], p) << "column 1 stays";

  // Start 1, step 0 on 16 bytes: seven rows of two columns.
  b = Transposed(Counting(16), 1, 0);
  for (size_t p = 3; p <= 13; p += 2) EXPECT_EQ(b[p], p - 2);
  EXPECT_EQ(b[1], 13);
  for (size_t p = 2; p <= 14; p += 2) EXPECT_EQ(b[p], p);
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(b[15], 15);
}

TEST(CipherPasses, TransposeFollowsTheDefinitionForNarrowAndWideMatrices) {
  // Wide matrices cross the 256-column slices the pass works in. Negative
  // starts, steps of -6 and -7 (one row, none) and steps of -8 or less
  // (no column) leave the block as it is.
  for (size_t len : {2u, 9u, 16u, 31u, 263u, 1000u, 4099u, 16384u}) {
    for (int32_t start : {-3, 0, 1, 2, 5, 100}) {
      for (int32_t step : {-128, -8, -7, -6, -5, -1, 0, 2, 7, 113, 255}) {
        Bytes data = PatternBytes(len, static_cast<unsigned>(len + start));
        Bytes turned = Transposed(data, start, step);
        ASSERT_EQ(turned, ModelTranspose(data, start, step)) << len << " " << start << " " << step;
        codec::InverseTransposePass(turned.data(), static_cast<uint32_t>(len), start, step);
        ASSERT_EQ(turned, data) << len << " " << start << " " << step;
      }
    }
  }
}

TEST(BlockCipher, DeciphersWithTheSevenPassesInOrder) {
  // Short and long keys, steps that empty a pass and steps of two to six rows.
  for (const std::string& password : std::vector<std::string>{"abcdefg", "Zq9!", "\x82\xa0\x82\xa2", "ab\x82\xa0xyz",
                                                              "\xff\xfe\xfd\xfc", std::string(1234, 'z')}) {
    KeyString key = Key(password);
    for (size_t len : {0u, 1u, 2u, 16u, 127u, 128u, 500u, 1239u, 8192u}) {
      for (unsigned char first : {0x71, 0x00, 0xFF, 0x20}) {
        Bytes data = PatternBytes(len, static_cast<unsigned>(len) + first);
        if (len > 0) data[0] = first;
        Bytes deciphered = data;
        codec::DecipherBlock(deciphered.data(), static_cast<uint32_t>(len), key.get());
        ASSERT_EQ(deciphered, ModelDecipher(data, key.get())) << password << " " << len;
      }
    }
  }
}

TEST(BlockCipher, DecipherUndoesEncipherForEveryLengthAndManyKeys) {
  std::vector<std::string> passwords = {"abcd", "password", "Pa55w0rd!", std::string(1234, 'q'), "\x80\x81\x82\x83"};
  for (unsigned seed = 0; seed < 40; ++seed) {
    Bytes random = PatternBytes(4 + seed % 9, seed);
    passwords.emplace_back(random.begin(), random.end());
  }
  for (const std::string& password : passwords) {
    if (password.find('\0') != std::string::npos) continue;
    KeyString key = Key(password);
    for (size_t len = 0; len < 700; len += 1 + len / 8) {
      Bytes plain = PatternBytes(len, static_cast<unsigned>(len * 31 + password.size()));
      Bytes block = plain;
      codec::EncipherBlock(block.data(), static_cast<uint32_t>(len), key.get());
      if (len >= 16) {
        EXPECT_NE(block, plain);
      }
      codec::DecipherBlock(block.data(), static_cast<uint32_t>(len), key.get());
      ASSERT_EQ(block, plain) << password.size() << " " << len;
    }
  }
}

TEST(BlockCipher, FlagsKeysWhoseTranspositionsAreLeftUndefined) {
  auto undefined = [](const std::string& password) { return codec::KeyHasUndefinedTransposition(Key(password).get()); };
  EXPECT_FALSE(undefined("abcd"));
  EXPECT_FALSE(undefined("\x82\xa0\x82\xa0"));  // negative starts, steps that empty the pass
  EXPECT_FALSE(undefined("ab\xf8\xf8"));
  EXPECT_FALSE(undefined("ab\xfb\xff"));        // two to six rows
  EXPECT_TRUE(undefined("\x82" "bcd"));          // negative start with a step that turns
  EXPECT_TRUE(undefined("a\x82" "cd"));
  EXPECT_TRUE(undefined("ab\xf9" "d"));          // no row
  EXPECT_TRUE(undefined("abc\xfa"));             // one row
  EXPECT_TRUE(undefined("\xff\xff\xff\xff"));
  EXPECT_FALSE(codec::KeyHasUndefinedTransposition("ab"));  // read no further than the NUL
}

}  // namespace
