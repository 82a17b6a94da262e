// Fuzz target: whatever the compressor makes of any input, the
// decompressor turns back into exactly that input.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codec/decompressor.h"
#include "encoder/compressor.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 18)) return 0;
  // Inputs are often short; repeating them a few times (as the first byte
  // says) reaches the long phrases, full dictionary and recycling too.
  std::vector<uint8_t> plain;
  const size_t copies = size > 0 ? 1 + data[0] % 8 : 1;
  for (size_t i = 0; i < copies; ++i) plain.insert(plain.end(), data, data + size);

  const std::vector<uint8_t> compressed = encoder::CompressBlock(plain);
  archive::BlockBuffer block = fuzzing::BlockFrom(compressed.data(), compressed.size());
  const void* given = block.handle.raw;
  if (codec::DecompressBlock(block) != 1) abort();
  if (fuzzing::TakeBlock(block, given) != plain) abort();
  return 0;
}
