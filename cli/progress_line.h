// A progress line on standard error ("Packing...  42 %"), rewritten in
// place when the whole percentage changes, shown only on a terminal and
// only when asked for.
#pragma once

#include <cstdint>

namespace cli {

class ProgressLine {
 public:
  ProgressLine(const char* label, uint64_t total, bool show) : label_(label), total_(total), show_(show) {}
  ~ProgressLine() { End(); }
  void Advance(uint64_t count);
  // Clears the line, so that a message can follow.
  void End();

 private:
  const char* label_;
  uint64_t total_;
  uint64_t done_ = 0;
  bool show_;
  int shown_ = -1;
};

}  // namespace cli
