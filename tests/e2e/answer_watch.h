// Whether a window of another program keeps answering while it works.
// Windows takes a top-level window that leaves a sent message unanswered
// for five seconds for hung, paints a ghost over it and offers to end the
// program. Each sample sends the window WM_NULL and waits at most a
// second for the answer.
#pragma once

#include <windows.h>
#include <string>

namespace e2e {

class AnswerWatch {
 public:
  static constexpr DWORD kTimeout = 1000;

  explicit AnswerWatch(HWND window) : window_(window), last_answer_(GetTickCount()) {}

  // True when the window answered within kTimeout.
  bool Sample();
  int samples() const { return samples_; }
  int unanswered() const { return unanswered_; }
  // The longest time from one answer (or the start) to the next.
  DWORD longest_silence() const { return longest_silence_; }
  std::string Summary() const;

 private:
  HWND window_;
  DWORD last_answer_;
  DWORD longest_silence_ = 0;
  int samples_ = 0;
  int unanswered_ = 0;
};

}  // namespace e2e
