// Fuzz target: DecompressBlock on arbitrary bytes, with and without the
// compression signature in front. It must hand back a Block buffer and
// never read or write outside its tables or buffers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "tests/support/compressed_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const std::vector<uint8_t> input = fuzzing::DecoderInput(data, size);
  const auto decoded = testing_support::Decompress(input);
  if (decoded.result != 1) abort();
  if (input.size() < 4 || memcmp(input.data(), codec::kCompressionSignature, 4) != 0) {
    if (decoded.bytes != input) abort();  // untouched
  } else if (input.size() >= 8) {
    // Never more than the stated length and one last phrase.
    const uint64_t stated = input[4] | input[5] << 8 | input[6] << 16 | uint64_t{input[7]} << 24;
    if (decoded.bytes.size() > stated + 127) abort();
  }
  return 0;
}
