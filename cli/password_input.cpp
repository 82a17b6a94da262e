#include "cli/password_input.h"

#include <cstdio>
#include <cstring>

#include "cli/messages.h"
#include "platform/console.h"

namespace cli {
namespace {

constexpr uint32_t kLongestLine = 4096;

// The first line of a file, a pipe or a descriptor ("-" is standard
// input): the bytes before the first CR or LF, at most kLongestLine of
// them. Reading stops there, so a writer that keeps its end open is not
// waited for. False, with the system's reason said, when it cannot be read.
bool ReadFirstLine(const char* name, std::string* line) {
  const bool standard_input = strcmp(name, "-") == 0;
  FILE* file = standard_input ? stdin : fopen(name, "rb");
  if (!file) {
    Complain(name, "cannot read the password file: " + SystemReason());
    return false;
  }
  line->clear();
  int c;
  while (line->size() < kLongestLine && (c = fgetc(file)) != EOF && c != '\r' && c != '\n') {
    line->push_back(static_cast<char>(c));
  }
  const bool failed = ferror(file) != 0;
  if (failed) Complain(name, "cannot read the password file: " + SystemReason());
  if (!standard_input) fclose(file);
  return !failed;
}

}  // namespace

bool ReadPassword(const PasswordSource& source, std::string* password) {
  if (source.text) {
    *password = source.text;
    return true;
  }
  if (source.file) return ReadFirstLine(source.file, password);
  if (!platform::InputIsTerminal()) {
    Note("no password given (use --password-file, or run on a terminal)");
    return false;
  }
  fputs("Password: ", stderr);
  char line[kLongestLine];
  const bool typed = platform::ReadHiddenLine(line, sizeof line);
  fputs("\n", stderr);
  if (typed) *password = line;
  return typed;
}

}  // namespace cli
