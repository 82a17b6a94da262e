// What extract does with a file that already stands where an entry goes:
// --overwrite replaces, --keep keeps quietly; without either a person at
// the terminal is asked (yes, no, all, none), and without a terminal the
// file is kept and the refusal reported.
#pragma once

#include <string>

namespace cli {

enum class Overwrite { kAsk, kReplace, kKeep };

enum class ExistingFile {
  kReplace,
  kKeep,    // as asked: nothing to report
  kRefuse,  // nobody could be asked: report it
};

class OverwritePolicy {
 public:
  explicit OverwritePolicy(Overwrite mode) : mode_(mode) {}
  // For an output path that exists; asks when the mode says so. "all" and
  // "none" answer the later questions too.
  ExistingFile Decide(const std::string& path);
  // True when every file is to be replaced without a question, also one
  // that appears only after it was looked for.
  bool ReplacesAll() const { return mode_ == Overwrite::kReplace; }

 private:
  Overwrite mode_;
};

}  // namespace cli
