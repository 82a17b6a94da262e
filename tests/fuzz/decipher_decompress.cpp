// Fuzz target: the decode steps of one data block under any password:
// DecipherBlock, then DecompressBlock. The first byte gives the password's
// length (0 to 63); the password and then the block follow.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codec/block_cipher.h"
#include "tests/fuzz/fuzz_assert.h"
#include "tests/support/compressed_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const size_t password_length = data[0] % 64;
  if (size < 1 + password_length) return 0;
  char* key = codec::BuildKeyString(reinterpret_cast<const char*>(data + 1), static_cast<uint32_t>(password_length));
  FUZZ_ASSERT_MSG(key != nullptr, "no key string was built");
  const std::vector<uint8_t> stored(data + 1 + password_length, data + size);
  std::vector<uint8_t> block = stored;
  codec::DecipherBlock(block.data(), static_cast<uint32_t>(block.size()), key);
  // Enciphering again must give back the stored bytes, for every key.
  std::vector<uint8_t> again = block;
  codec::EncipherBlock(again.data(), static_cast<uint32_t>(again.size()), key);
  free(key);
  FUZZ_ASSERT_MSG(again == stored, "enciphering the deciphered block does not give back the stored bytes");
  // Whatever the block holds, decoding it stays within its buffers (the
  // sanitizer builds see to that).
  test_support::Decompress(block);
  return 0;
}
