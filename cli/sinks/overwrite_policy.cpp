#include "cli/sinks/overwrite_policy.h"

#include <cstdio>
#include <cstring>

#include "cli/texts/text_encoding.h"
#include "platform/console.h"

namespace cli {
namespace {

enum class Answer { kYes, kNo, kAll, kNone, kUnclear };

// As other extractors take it: "n" is no, "N" is none.
Answer ParseAnswer(const char* line) {
  struct Word {
    const char* text;
    Answer answer;
  };
  static const Word kWords[] = {{"y", Answer::kYes}, {"yes", Answer::kYes}, {"n", Answer::kNo},
                                {"no", Answer::kNo}, {"A", Answer::kAll},   {"a", Answer::kAll},
                                {"all", Answer::kAll}, {"N", Answer::kNone}, {"none", Answer::kNone}};
  for (const Word& word : kWords) {
    if (strcmp(line, word.text) == 0) return word.answer;
  }
  return Answer::kUnclear;
}

}  // namespace

ExistingFile OverwritePolicy::Decide(const std::string& path) {
  if (mode_ == Overwrite::kReplace) return ExistingFile::kReplace;
  if (mode_ == Overwrite::kKeep) return ExistingFile::kKeep;
  if (!platform::InputIsTerminal()) return ExistingFile::kRefuse;
  for (;;) {
    fprintf(stderr, "replace %s? [y]es, [n]o, [A]ll, [N]one: ", Printable(path).c_str());
    char line[64];
    if (!fgets(line, sizeof line, stdin)) {
      fputs("\n", stderr);
      mode_ = Overwrite::kKeep;  // nobody answers any more
      return ExistingFile::kKeep;
    }
    line[strcspn(line, "\r\n")] = '\0';
    switch (ParseAnswer(line)) {
      case Answer::kYes: return ExistingFile::kReplace;
      case Answer::kNo: return ExistingFile::kKeep;
      case Answer::kAll: mode_ = Overwrite::kReplace; return ExistingFile::kReplace;
      case Answer::kNone: mode_ = Overwrite::kKeep; return ExistingFile::kKeep;
      case Answer::kUnclear: break;
    }
  }
}

}  // namespace cli
