// Fuzz target: the whole decode walk over arbitrary archive bytes, with a
// sink that keeps outputs in memory (the input is laid out as
// fuzz_archive.h says).
#include <cstdint>
#include <cstdlib>

#include "decode/decode_walk.h"
#include "tests/fuzz/fuzz_archive.h"
#include "tests/support/recording_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (4u << 20)) return 0;
  static archive::SharedState state;
  fuzzing::WriteArchive(data, size, state);
  test_support::RecordingSink sink;
  sink.output_limit = 16u << 20;  // a short write beyond
  const int result = decode::DecodeWalk(state, fuzzing::kPassword, sizeof fuzzing::kPassword - 1, sink);
  // Every question gets an answer here, so no run fails silently.
  if (!sink.protocol_kept || (result == 1) != sink.failures.empty()) abort();
  return 0;
}
