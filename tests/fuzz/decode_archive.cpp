// Fuzz target: the whole decode walk over arbitrary archive bytes, with a
// sink that keeps outputs in memory. The input is what follows the first
// entry marker in an archive (a 256-byte stub, then the marker and its NUL,
// then the input); the password is fixed so that a corpus of real
// archives can be checked in.
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "archive/entry_header.h"
#include "archive/markers.h"
#include "base/bounded_text.h"
#include "base/paths.h"
#include "decode/decode_walk.h"
#include "tests/support/recording_sink.h"

namespace {

constexpr char kPassword[] = "fuzz-password";
// The archive file of this process, removed when the process ends.
const std::string archive_path = "/tmp/kelvarin-fuzz-" + std::to_string(getpid()) + ".exe";
void RemoveArchive() { unlink(archive_path.c_str()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (4u << 20)) return 0;
  static const int registered = atexit(RemoveArchive);
  (void)registered;
  FILE* file = fopen(archive_path.c_str(), "wb");
  if (!file) abort();
  char prefix[256 + archive::kEntryMarkerLength + 1] = {};
  archive::BuildEntryMarker(prefix + 256);
  fwrite(prefix, 1, sizeof prefix, file);
  if (size) fwrite(data, 1, size, file);
  fclose(file);

  static archive::SharedState state;
  base::CopyText(state.archive_path, base::kPathCapacity, archive_path.c_str());
  state.entry_offset = 256;
  test_support::RecordingSink sink;
  sink.output_limit = 16u << 20;  // a short write beyond
  const int result = decode::DecodeWalk(state, kPassword, sizeof kPassword - 1, sink);
  // Every question gets an answer here, so no run fails silently.
  if (!sink.protocol_kept || (result == 1) != sink.failures.empty()) abort();
  return 0;
}
