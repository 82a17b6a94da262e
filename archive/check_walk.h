// The check walk: verifies every data block of the archive against its
// lane checksum, and every entry header's version, without a password.
//
// What the walk shows (cursor, window title, message boxes) is the
// reporter's business; the walk calls it in the order a user sees things.
#pragma once

#include <cstdint>

#include "archive/shared_state.h"

namespace archive {

enum class CheckProblem {
  kOpenFailed,    // the archive cannot be opened
  kHeaderShort,   // fewer than 26 bytes at a block position
  kNewerVersion,  // an entry header's version is not kSupportedVersion
  kBlockShort,    // a data block ends early
  kCooked,        // a lane checksum differs
};

class CheckReporter {
 public:
  virtual ~CheckReporter() = default;
  virtual void Begin() {}                                // before the archive is opened
  virtual void OnEntryHeader(const SharedState&) {}      // a header was read
  virtual void OnProgress(int /*percent*/) {}            // only when the value changes
  virtual void OnProblem(CheckProblem, const SharedState&) = 0;  // the walk stops
  virtual void End() {}                                  // after the archive is closed
  virtual void OnNoProblem(const SharedState&) = 0;      // after End, on success only
};

// Needs state.archive_path and an entry offset other than -1. Sets the
// caption to "Kelvarin" first; every header read replaces it. Returns 1
// when no problem was found, 0 when one was reported.
int CheckWalk(SharedState& state, CheckReporter& reporter);

// position * 100 / size without overflow, for any 64-bit position.
int ProgressPercent(uint64_t position, uint64_t size);

}  // namespace archive
