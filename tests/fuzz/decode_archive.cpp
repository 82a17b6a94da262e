// Fuzz target: the whole decode walk over arbitrary archive bytes, with a
// sink that keeps outputs in memory (the input is laid out as
// fuzz_archive.h says), under the program's rules and the readers'; and
// the readers' look-ahead, whose verdict of a wrong password must never
// be given for an archive that the readers' walk decodes whole.
#include <cstdint>

#include "decode/look_ahead.h"
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

  test_support::RecordingSink reader;
  reader.rules = decode::WalkRules::kReader;
  decode::SequentialBlockSource reader_source;
  const int read = fuzzing::DecodeArchive(data, size, state, reader, reader_source);
  FUZZ_ASSERT_MSG(reader.protocol_kept, "the readers' walk called its sink out of order");
  const decode::LookAhead look = decode::LookOver(state, fuzzing::kPassword);
  FUZZ_ASSERT_MSG(look.password_right || read == 0, "a wrong password said of an archive that decodes whole");
  return 0;
}
