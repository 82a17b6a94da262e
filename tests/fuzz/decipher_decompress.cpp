// Fuzz target: the decode steps of one data block under any password:
// DecipherBlock, then DecompressBlock; and the readers' shortcuts beside
// them, which must agree: DecipherPrefix with DecipherBlock, and the start
// that DecodeStart decodes with the whole block's. The first byte gives
// the password's length (0 to 63); the password and then the block follow.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "archive/block_buffer.h"
#include "codec/block_cipher.h"
#include "codec/decoder.h"
#include "codec/decompressor.h"
#include "tests/fuzz/fuzz_assert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 20)) return 0;
  const size_t password_length = data[0] % 64;
  if (size < 1 + password_length) return 0;
  char* key = codec::BuildKeyString(reinterpret_cast<const char*>(data + 1), static_cast<uint32_t>(password_length));
  FUZZ_ASSERT_MSG(key != nullptr, "no key string was built");
  const std::vector<uint8_t> stored(data + 1 + password_length, data + size);
  std::vector<uint8_t> block = stored;
  codec::DecipherBlock(block.data(), static_cast<uint32_t>(block.size()), key);
  std::vector<uint8_t> prefix(block.size());
  codec::DecipherPrefix(stored.data(), static_cast<uint32_t>(stored.size()), key, prefix.data(),
                        static_cast<uint32_t>(prefix.size()));
  FUZZ_ASSERT_MSG(prefix == block, "a byte traced back alone differs from the whole block's");
  // Enciphering again must give back the stored bytes, for every key.
  std::vector<uint8_t> again = block;
  codec::EncipherBlock(again.data(), static_cast<uint32_t>(again.size()), key);
  free(key);
  FUZZ_ASSERT_MSG(again == stored, "enciphering the deciphered block does not give back the stored bytes");
  // Whatever the block holds, decoding it stays within its buffers (the
  // sanitizer builds see to that); a whole stream begins as its start does.
  archive::BlockBuffer whole;
  whole.Allocate(static_cast<uint32_t>(block.size()));
  std::copy(block.begin(), block.end(), whole.data());
  const codec::StreamCheck check = codec::DecompressBlock(whole);
  constexpr uint32_t kWanted = 306;
  archive::BlockBuffer start;
  uint32_t stated = 0;
  const uint32_t readable = std::min<uint32_t>(static_cast<uint32_t>(block.size()), codec::StreamBytesFor(kWanted));
  const codec::StreamCheck start_check = codec::DecodeBlockStart(block.data(), readable, kWanted, start, &stated);
  if (check == codec::StreamCheck::kWhole) {
    FUZZ_ASSERT_MSG(start_check == codec::StreamCheck::kWhole, "a whole stream whose start is broken");
    const uint32_t same = std::min(start.length(), whole.length());
    FUZZ_ASSERT_MSG(std::equal(start.data(), start.data() + same, whole.data()), "the start decodes otherwise");
  }
  return 0;
}
