#include "cli/sinks/entry_selection.h"

#include <cstring>

#include "base/utf8.h"

namespace cli {
namespace {

// The bytes of the character at text: a UTF-8 sequence, or one byte that
// is none.
size_t CharacterLength(const char* text) {
  const size_t length = base::Utf8SequenceLength(reinterpret_cast<const unsigned char*>(text), strnlen(text, 4));
  return length == 0 ? 1 : length;
}

}  // namespace

bool MatchesPattern(const char* pattern, const char* name) {
  // The last `*` seen and where in name its run would end if it grew by one
  // character: backtracking to it alone is enough, so the match is linear
  // in practice.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?') {
      ++pattern;
      name += CharacterLength(name);
    } else if (*pattern == *name) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      resume += CharacterLength(resume);
      name = resume;
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
