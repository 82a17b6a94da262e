// Shared by the targets that decode whole archives: the fuzz bytes become
// the archive file of this process (a 256-byte stub, then the entry
// marker and its NUL, then the input), removed when the process ends, and
// are decoded into a recording sink. The password is fixed so that a
// corpus of real archives can be checked in.
#pragma once

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "archive/markers.h"
#include "archive/shared_state.h"
#include "base/bounded_text.h"
#include "platform/os.h"
#include "decode/decode_walk.h"
#include "tests/fuzz/fuzz_assert.h"
#include "tests/support/recording_sink.h"

namespace fuzzing {

constexpr char kPassword[] = "fuzz-password";

inline char archive_path[4096];

inline void RemoveArchive() { unlink(archive_path); }

// Writes the archive and points the state at its first entry.
inline void WriteArchive(const uint8_t* data, size_t size, archive::SharedState& state) {
  if (!archive_path[0]) {
    // TMPDIR=/dev/shm spares a disk that discards every truncated file.
    const char* folder = getenv("TMPDIR");
    snprintf(archive_path, sizeof archive_path, "%s/kelvarin-fuzz-%d.exe", folder && *folder ? folder : "/tmp",
             static_cast<int>(getpid()));
    atexit(RemoveArchive);
  }
  FILE* file = fopen(archive_path, "wb");
  FUZZ_ASSERT_MSG(file != nullptr, "the archive file cannot be written");
  char prefix[256 + archive::kEntryMarkerLength + 1] = {};
  archive::BuildEntryMarker(prefix + 256);
  fwrite(prefix, 1, sizeof prefix, file);
  if (size) fwrite(data, 1, size, file);
  fclose(file);
  base::CopyText(state.archive_path, platform::kPathCapacity, archive_path);
  state.entry_offset = 256;
}

// Writes the archive and decodes it from `source` into the sink, whose
// writes come up short beyond 16 MiB.
inline int DecodeArchive(const uint8_t* data, size_t size, archive::SharedState& state,
                         test_support::RecordingSink& sink, decode::BlockSource& source) {
  WriteArchive(data, size, state);
  sink.output_limit = 16u << 20;
  return decode::DecodeWalk(state, kPassword, sizeof kPassword - 1, sink, source);
}

}  // namespace fuzzing
