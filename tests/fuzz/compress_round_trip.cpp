// Fuzz target: whatever the compressor makes of any input, the
// decompressor turns back into exactly that input.
#include <cstdint>
#include <vector>

#include "encoder/compressor.h"
#include "tests/fuzz/fuzz_assert.h"
#include "tests/support/compressed_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 18)) return 0;
  // Inputs are often short; repeating them a few times (as the first byte
  // says) reaches the long phrases, full dictionary and recycling too.
  std::vector<uint8_t> plain;
  const size_t copies = size > 0 ? 1 + data[0] % 8 : 1;
  for (size_t i = 0; i < copies; ++i) plain.insert(plain.end(), data, data + size);
  FUZZ_ASSERT_MSG(test_support::Decompress(encoder::CompressBlock(plain)) == plain,
                  "the compressed block decodes to other bytes than its input");
  return 0;
}
