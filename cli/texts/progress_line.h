// A progress line on standard error ("Packing...  42 %", from a printf
// pattern with one %3d, such as the program's "Decoding... %3d %%"), rewritten in
// place when the whole percentage changes. It shows only on a terminal,
// when not told to be quiet, and for work of more than kShownAbove bytes:
// quicker work would only flicker.
#pragma once

#include <cstdint>

namespace cli {

class ProgressLine {
 public:
  static constexpr uint64_t kShownAbove = 4 * 1024 * 1024;

  // total: the bytes of the work, by which Advance counts and which
  // decide whether the line shows.
  ProgressLine(const char* pattern, uint64_t total, bool quiet);
  ~ProgressLine() { End(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // count more bytes of the total are done.
  void Advance(uint64_t count);
  // A percentage that the work tells by itself.
  void Show(int percent);
  // Clears the line, so that a message can follow.
  void End();

 private:
  const char* pattern_;
  uint64_t total_;
  uint64_t done_ = 0;
  bool show_;
  int shown_ = -1;
};

}  // namespace cli
