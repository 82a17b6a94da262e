// Fuzz target: DecompressBlock on arbitrary bytes, with and without the
// compression signature in front. It must hand back a Block buffer and
// never read or write outside its tables or buffers.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "tests/fuzz/fuzz_assert.h"
#include "tests/support/compressed_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const std::vector<uint8_t> input = fuzzing::DecoderInput(data, size);
  const test_support::Bytes decoded = test_support::Decompress(input);
  if (input.size() < 4 || memcmp(input.data(), codec::kCompressionSignature, 4) != 0) {
    FUZZ_ASSERT_MSG(decoded == input, "a block without the signature was changed");
  } else if (input.size() >= 8) {
    const uint64_t stated = input[4] | input[5] << 8 | input[6] << 16 | uint64_t{input[7]} << 24;
    FUZZ_ASSERT_MSG(decoded.size() <= stated + 127, "more than the stated length and one last phrase was decoded");
  }
  return 0;
}
