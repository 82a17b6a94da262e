// Fuzz target: the decode steps of one data block under any password:
// DecipherBlock, then DecompressBlock. The first byte gives the password's
// length (0 to 63); the password and then the block follow.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codec/block_cipher.h"
#include "codec/decompressor.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const size_t password_length = data[0] % 64;
  if (size < 1 + password_length) return 0;
  char* key = codec::BuildKeyString(reinterpret_cast<const char*>(data + 1), static_cast<uint32_t>(password_length));
  if (key == nullptr) abort();
  const uint8_t* stored = data + 1 + password_length;
  const size_t length = size - 1 - password_length;

  archive::BlockBuffer block = fuzzing::BlockFrom(stored, length);
  codec::DecipherBlock(block.data, block.length, key);
  // Enciphering again must give back the stored bytes, for every key.
  std::vector<uint8_t> deciphered(block.data, block.data + block.length);
  codec::EncipherBlock(deciphered.data(), static_cast<uint32_t>(deciphered.size()), key);
  if (deciphered != std::vector<uint8_t>(stored, stored + length)) abort();

  const void* given = block.handle.raw;
  if (codec::DecompressBlock(block) != 1) abort();
  fuzzing::TakeBlock(block, given);
  free(key);
  return 0;
}
