// The entries a command is limited to: names given on the command line,
// matched against stored names in UTF-8, where `*` stands for any run of
// characters (separators too) and `?` for any one character. No names
// select every entry.
#pragma once

#include <string>
#include <vector>

namespace cli {

bool MatchesPattern(const char* pattern, const char* name);

class EntrySelection {
 public:
  void Add(const char* pattern) { patterns_.push_back({pattern, false}); }
  bool Empty() const { return patterns_.empty(); }
  // True when name is selected; the patterns that match it count as used.
  bool Selects(const char* name);
  // The patterns that matched no entry, in the order given.
  std::vector<std::string> Unused() const;

 private:
  struct Pattern {
    std::string text;
    bool used;
  };
  std::vector<Pattern> patterns_;
};

}  // namespace cli
