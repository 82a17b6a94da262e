// Fuzz target: DecompressBlock on arbitrary bytes, with and without the
// compression signature in front. It must hand back a Block buffer and
// never read or write outside its tables or buffers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "codec/decompressor.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const std::vector<uint8_t> input = fuzzing::DecoderInput(data, size);
  archive::BlockBuffer block = fuzzing::BlockFrom(input.data(), input.size());
  const void* given = block.handle.raw;
  if (codec::DecompressBlock(block) != 1) abort();
  const bool signed_block = input.size() >= 4 && memcmp(input.data(), codec::kCompressionSignature, 4) == 0;
  const std::vector<uint8_t> result = fuzzing::TakeBlock(block, given);
  if (!signed_block && result != input) abort();  // untouched
  if (signed_block && input.size() >= 8) {
    // Never more than the stated length and one last phrase.
    const uint64_t stated = input[4] | input[5] << 8 | input[6] << 16 | uint64_t{input[7]} << 24;
    if (result.size() > stated + 127) abort();
  }
  return 0;
}
