// What answering a window or waiting for a state came to: done, or a
// sentence saying what was seen instead. The end-to-end tests turn it into
// a test failure, the demo into its last line.
#pragma once

#include <string>
#include <utility>

namespace window_driver {

class Outcome {
 public:
  static Outcome Done() { return Outcome(""); }
  static Outcome Failed(std::string why) { return Outcome(why.empty() ? "failed" : std::move(why)); }

  explicit operator bool() const { return why_.empty(); }
  const std::string& why() const { return why_; }

 private:
  explicit Outcome(std::string why) : why_(std::move(why)) {}
  std::string why_;
};

}  // namespace window_driver
