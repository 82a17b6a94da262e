#include "archive/check_walk.h"

#include "archive/data_block.h"
#include "archive/entry_header.h"
#include "base/bounded_text.h"
#include "base/wide_division.h"
#include "platform/input_file.h"

namespace archive {
namespace {

// Walks the blocks from the entry offset; returns the problem met, if any.
bool WalkBlocks(platform::InputFile& file, SharedState& state, CheckReporter& reporter, CheckProblem* problem) {
  uint64_t size = 0;
  file.Size(&size);
  uint64_t position = static_cast<uint64_t>(state.entry_offset);
  file.Seek(position);
  int last_percent = 0;
  while (position < size) {
    int32_t header = ReadEntryHeader(file, state);
    if (header == kHeaderShortRead) {
      *problem = CheckProblem::kHeaderShort;
      return false;
    }
    if (header > 0) {
      reporter.OnEntryHeader(state);
      position += static_cast<uint32_t>(header);
      if (state.version != kSupportedVersion) {
        *problem = CheckProblem::kNewerVersion;
        return false;
      }
    }
    DataBlockResult block = CheckDataBlock(file);
    position += block.consumed;
    if (block.status == BlockRead::kReadFailure) {
      *problem = CheckProblem::kBlockShort;
      return false;
    }
    if (block.status == BlockRead::kChecksumMismatch) {
      *problem = CheckProblem::kCooked;
      return false;
    }
    int percent = ProgressPercent(position, size);
    if (percent != last_percent) {
      last_percent = percent;
      reporter.OnProgress(percent);
    }
  }
  return true;
}

}  // namespace

int ProgressPercent(uint64_t position, uint64_t size) {
  if (size == 0) return 0;
  // Split so that neither product leaves 64 bits.
  const base::Division whole = base::Divide(position, size);
  return static_cast<int>(whole.quotient * 100 + base::Divide(whole.remainder * 100, size).quotient);
}

int CheckWalk(SharedState& state, CheckReporter& reporter) {
  base::CopyText(state.caption, kCaptionCapacity, "Kelvarin");
  reporter.Begin();
  platform::InputFile file;
  if (!file.Open(state.archive_path)) {
    reporter.OnProblem(CheckProblem::kOpenFailed, state);
    reporter.End();
    return 0;
  }
  CheckProblem problem = CheckProblem::kOpenFailed;
  bool clean = WalkBlocks(file, state, reporter, &problem);
  if (!clean) reporter.OnProblem(problem, state);
  file.Close();
  reporter.End();
  if (clean) reporter.OnNoProblem(state);
  return clean ? 1 : 0;
}

}  // namespace archive
