// Fuzz target: the whole decode walk over arbitrary archive bytes, with a
// sink that keeps outputs in memory (the input is laid out as
// fuzz_archive.h says).
#include <cstdint>

#include "tests/fuzz/fuzz_assert.h"
#include "tests/fuzz/fuzz_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (4u << 20)) return 0;
  static archive::SharedState state;
  decode::SequentialBlockSource source;
  test_support::RecordingSink sink;
  const int result = fuzzing::DecodeArchive(data, size, state, sink, source);
  FUZZ_ASSERT_MSG(sink.protocol_kept, "the walk called its sink out of order");
  // Every question gets an answer here, so no run fails silently.
  FUZZ_ASSERT_MSG((result == 1) == sink.failures.empty(), "the walk's result disagrees with the failures it reported");
  return 0;
}
