#include "cli/progress_line.h"

#include <cstdio>

#include "archive/check_walk.h"

namespace cli {

void ProgressLine::Advance(uint64_t count) {
  done_ += count;
  if (!show_) return;
  const int percent = archive::ProgressPercent(done_, total_);
  if (percent == shown_) return;
  shown_ = percent;
  fprintf(stderr, "\r%s %3d %%", label_, percent);
}

void ProgressLine::End() {
  if (shown_ < 0) return;
  fputs("\r                    \r", stderr);
  shown_ = -1;
}

}  // namespace cli
