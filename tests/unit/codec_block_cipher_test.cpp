// The block cipher: the key string, the seven passes in order against
// their plain definitions, and the two directions together.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

#include "codec/block_cipher.h"
#include "encoder/bytes.h"
#include "encoder/key_string.h"
#include "tests/support/sample_data.h"

namespace {

using encoder::Bytes;
using encoder::KeyString;
using test_support::RandomBytes;

// The transposition exactly as defined: new[start + ((r + 1) mod R) n + x]
// = old[start + r n + x] for even x, with the matrix inside the block.
Bytes ModelTranspose(Bytes b, int32_t start, int32_t step) {
  const uint32_t rows = static_cast<uint32_t>(step) + 7u;
  if (start < 0 || rows < 2 || b.size() < static_cast<size_t>(start)) return b;
  const uint32_t n = static_cast<uint32_t>(b.size() - start) / rows;
  Bytes old = b;
  for (uint32_t r = 0; r < rows && n > 0; ++r) {
    for (uint32_t x = 0; x < n; x += 2) {
      const size_t here = start + size_t{r} * n + x, below = start + size_t{(r + 1) % rows} * n + x;
      b[below] = old[here];
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

TEST(KeyString, AppendsTheByteCountWithAtLeastThreeDigits) {
  for (const auto& [length, count] : std::vector<std::pair<size_t, std::string>>{
           {0, "000"}, {7, "007"}, {99, "099"}, {100, "100"}, {1234, "1234"}}) {
    const std::string password(length, 'p');
    const KeyString key(password);
    ASSERT_TRUE(key);
    EXPECT_EQ(std::string(key.get()), password + count);
  }
}

// Short and long keys, steps that empty a pass and steps of two to six
// rows, steps of no row and of one (undefined: the pass changes nothing,
// and must not divide by its row count), and a few random ones.
std::vector<std::string> TestPasswords() {
  std::vector<std::string> passwords = {"abcdefg", "Zq9!", "\x82\xa0\x82\xa2", "ab\x82\xa0xyz", "\xff\xfe\xfd\xfc",
                                        "ab\xf9\xfa", "ab\xfa\xf9", std::string(1234, 'z')};
  for (unsigned seed = 1; seed < 8; ++seed) {
    const Bytes random = RandomBytes(4 + seed, seed);
    if (std::find(random.begin(), random.end(), 0) == random.end()) passwords.emplace_back(random.begin(), random.end());
  }
  return passwords;
}

TEST(BlockCipher, DeciphersWithTheSevenPassesInOrderAndEnciphersBack) {
  // The transposition read by hand: start 1, step 0 on 16 bytes gives
  // seven rows of two columns; column 0 moves down a row.
  EXPECT_EQ(ModelTranspose({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 1, 0),
            (Bytes{0, 13, 2, 1, 4, 3, 6, 5, 8, 7, 10, 9, 12, 11, 14, 15}));
  for (const std::string& password : TestPasswords()) {
    const KeyString key(password);
    for (size_t len : {0u, 1u, 2u, 16u, 127u, 128u, 500u, 1239u, 8192u}) {
      for (unsigned char first : {0x71, 0x00, 0xFF, 0x20}) {
        Bytes data = RandomBytes(len, static_cast<unsigned>(len) + first);
        if (len > 0) data[0] = first;
        Bytes block = data;
        codec::DecipherBlock(block.data(), static_cast<uint32_t>(len), key.get());
        ASSERT_EQ(block, ModelDecipher(data, key.get())) << password << " " << len;
        codec::EncipherBlock(block.data(), static_cast<uint32_t>(len), key.get());
        ASSERT_EQ(block, data) << password << " " << len;
      }
    }
  }
}

// Every byte traced back alone, as readers of a block's start do, is the
// byte the whole decipher gives; a prefix never reads past the block.
TEST(BlockCipher, DeciphersAnyPrefixAsTheWholeBlockDoes) {
  for (const std::string& password : TestPasswords()) {
    const KeyString key(password);
    for (size_t len : {1u, 2u, 9u, 16u, 127u, 500u, 1239u, 8192u}) {
      for (unsigned char first : {0x71, 0x00, 0xFF}) {
        Bytes stored = RandomBytes(len, static_cast<unsigned>(len) * 3 + first);
        stored[0] = first;
        Bytes whole = stored;
        codec::DecipherBlock(whole.data(), static_cast<uint32_t>(len), key.get());
        Bytes prefix(len + 4, 0xAB);
        codec::DecipherPrefix(stored.data(), static_cast<uint32_t>(len), key.get(), prefix.data(),
                              static_cast<uint32_t>(len + 4));
        ASSERT_TRUE(std::equal(whole.begin(), whole.end(), prefix.begin())) << password << " " << len;
        ASSERT_EQ(prefix[len], 0xAB) << "written past the block";
      }
    }
  }
}

TEST(BlockCipher, FlagsKeysWhoseTranspositionsAreLeftUndefined) {
  for (const auto& [password, undefined] : std::vector<std::pair<std::string, bool>>{
           {"abcd", false},
           {"\x82\xa0\x82\xa0", false},  // negative starts, steps that empty the pass
           {"ab\xf8\xf8", false},
           {"ab\xfb\xff", false},  // two to six rows
           {"\x82" "bcd", true},   // negative start with a step that turns
           {"a\x82" "cd", true},
           {"ab\xf9" "d", true},  // no row
           {"abc\xfa", true},     // one row
           {"\xff\xff\xff\xff", true}}) {
    EXPECT_EQ(codec::KeyHasUndefinedTransposition(KeyString(password).get()), undefined) << password;
  }
  EXPECT_FALSE(codec::KeyHasUndefinedTransposition("ab"));  // read no further than the NUL
}

}  // namespace
