#include "cli/texts/progress_line.h"

#include <cstdio>

#include "archive/check_walk.h"
#include "platform/console.h"

namespace cli {

ProgressLine::ProgressLine(const char* pattern, uint64_t total, bool quiet)
    : pattern_(pattern), total_(total), show_(!quiet && total > kShownAbove && platform::ErrorIsTerminal()) {}

void ProgressLine::Advance(uint64_t count) {
  done_ += count;
  if (show_) Show(archive::ProgressPercent(done_, total_));
}

void ProgressLine::Show(int percent) {
  if (!show_ || percent == shown_) return;
  shown_ = percent;
  fputc('\r', stderr);
  fprintf(stderr, pattern_, percent);
}

void ProgressLine::End() {
  if (shown_ < 0) return;
  fputs("\r                    \r", stderr);
  shown_ = -1;
}

}  // namespace cli
