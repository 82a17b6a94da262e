// Fuzz target: the decode walk over arbitrary archive bytes (laid out as
// fuzz_archive.h says) with the sequential block source and with the
// parallel one, which reads ahead across entries it can only guess the
// ends of; a sink must be asked and told the same and get the same bytes.
#include <cstdint>
#include <cstring>
#include <memory>

#include "tests/fuzz/fuzz_assert.h"
#include "parallel/parallel_block_source.h"
#include "tests/fuzz/fuzz_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  static decode::SequentialBlockSource sequential;
  static const std::unique_ptr<decode::BlockSource> parallel = parallel::MakeBlockSource(2);
  archive::SharedState expected_state, state;
  test_support::RecordingSink expected, sink;
  const int expected_result = fuzzing::DecodeArchive(data, size, expected_state, expected, sequential);
  const int result = fuzzing::DecodeArchive(data, size, state, sink, *parallel);
  FUZZ_ASSERT_MSG(result == expected_result, "the two sources end the walk with different results");
  FUZZ_ASSERT_MSG(test_support::Transcript(sink) == test_support::Transcript(expected),
                  "the two sources ask and tell the sink different things");
  FUZZ_ASSERT_MSG(sink.files == expected.files, "the two sources write different bytes");
  FUZZ_ASSERT_MSG(strcmp(state.caption, expected_state.caption) == 0, "the two sources leave different captions");
  return 0;
}
