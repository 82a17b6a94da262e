#include "cli/entry_selection.h"

namespace cli {

bool MatchesPattern(const char* pattern, const char* name) {
  // The last `*` seen and where in name its run would end if it grew by one:
  // backtracking to it alone is enough, so the match is linear in practice.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || *pattern == *name) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

bool EntrySelection::Selects(const char* name) {
  bool selected = patterns_.empty();
  for (Pattern& pattern : patterns_) {
    if (MatchesPattern(pattern.text.c_str(), name)) {
      pattern.used = true;
      selected = true;
    }
  }
  return selected;
}

std::vector<std::string> EntrySelection::Unused() const {
  std::vector<std::string> unused;
  for (const Pattern& pattern : patterns_) {
    if (!pattern.used) unused.push_back(pattern.text);
  }
  return unused;
}

}  // namespace cli
