// Fuzz target: the whole decode walk over arbitrary archive bytes, with a
// sink that keeps outputs in memory (the input is laid out as
// fuzz_archive.h says).
#include <cstdint>
#include <cstdlib>

#include "tests/fuzz/fuzz_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (4u << 20)) return 0;
  static archive::SharedState state;
  decode::SequentialBlockSource source;
  test_support::RecordingSink sink;
  const int result = fuzzing::DecodeArchive(data, size, state, sink, source);
  // Every question gets an answer here, so no run fails silently.
  if (!sink.protocol_kept || (result == 1) != sink.failures.empty()) abort();
  return 0;
}
