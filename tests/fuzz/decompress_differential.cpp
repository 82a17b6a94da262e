// Fuzz target: the codec's decoder and the reference model decode any
// block to the same bytes, damaged or not. The process-wide decoder keeps
// its child table from one input to the next, as it does from one block to
// the next. The block is built as for decompress_block, so that the two
// corpora can feed each other.
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "tests/fuzz/fuzz_assert.h"
#include "tests/support/compressed_blocks.h"
#include "tests/support/reference_dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 18)) return 0;
  const std::vector<uint8_t> input = fuzzing::DecoderInput(data, size);
  FUZZ_ASSERT_MSG(test_support::Decompress(input) == reference::Decompress(input),
                  "the decoder and the reference model decode the block to different bytes");
  return 0;
}
