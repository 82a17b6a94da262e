#include "answer_watch.h"

namespace e2e {

bool AnswerWatch::Sample() {
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, kTimeout, &result) != 0;
  ++samples_;
  if (!answered) {
    ++unanswered_;
    return false;
  }
  const DWORD now = GetTickCount();
  if (now - last_answer_ > longest_silence_) longest_silence_ = now - last_answer_;
  last_answer_ = now;
  return true;
}

std::string AnswerWatch::Summary() const {
  return std::to_string(samples_ - unanswered_) + " of " + std::to_string(samples_) + " samples answered within " +
         std::to_string(kTimeout) + " ms; longest silence " + std::to_string(longest_silence_) + " ms";
}

}  // namespace e2e
