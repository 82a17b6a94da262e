// Fuzz target: the decode walk over arbitrary archive bytes (laid out as
// fuzz_archive.h says) with the sequential block source and with the
// parallel one, which reads ahead across entries it can only guess the
// ends of; a sink must be asked and told the same and get the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "decode/decode_walk.h"
#include "parallel/parallel_block_source.h"
#include "tests/fuzz/fuzz_archive.h"
#include "tests/support/recording_sink.h"

namespace {

int Decode(decode::BlockSource& source, test_support::RecordingSink& sink, archive::SharedState& state,
           const uint8_t* data, size_t size) {
  fuzzing::WriteArchive(data, size, state);
  sink.output_limit = 16u << 20;
  return decode::DecodeWalk(state, fuzzing::kPassword, sizeof fuzzing::kPassword - 1, sink, source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  static decode::SequentialBlockSource sequential;
  static parallel::ParallelBlockSource parallel(2);
  archive::SharedState expected_state, state;
  test_support::RecordingSink expected, sink;
  const int expected_result = Decode(sequential, expected, expected_state, data, size);
  const int result = Decode(parallel, sink, state, data, size);
  if (result != expected_result || test_support::Transcript(sink) != test_support::Transcript(expected) ||
      sink.files != expected.files || strcmp(state.caption, expected_state.caption) != 0) {
    abort();
  }
  return 0;
}
