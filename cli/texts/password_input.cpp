#include "cli/texts/password_input.h"

#include <cstdio>
#include <cstring>

#include "cli/texts/messages.h"
#include "platform/console.h"

namespace cli {
namespace {

constexpr size_t kLongestLine = 4096;
// What Notepad writes at the start of a UTF-8 file.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// The first line of a file, a pipe or a descriptor ("-" is standard
// input): the bytes before the first CR or LF, without a byte-order mark
// in front. Reading stops there, so a writer that keeps its end open is
// not waited for. False, with the reason said, when it cannot be read or
// the line is longer than kLongestLine bytes.
bool ReadFirstLine(const char* name, std::string* line) {
  const bool standard_input = strcmp(name, "-") == 0;
  FILE* file = standard_input ? stdin : fopen(name, "rb");
  if (!file) {
    Complain(name, "cannot read the password file: " + SystemReason());
    return false;
  }
  line->clear();
  bool mark_dropped = false;
  int c;
  while (line->size() <= kLongestLine && (c = fgetc(file)) != EOF && c != '\r' && c != '\n') {
    line->push_back(static_cast<char>(c));
    if (!mark_dropped && *line == kByteOrderMark) {
      line->clear();
      mark_dropped = true;
    }
  }
  const bool failed = ferror(file) != 0;
  if (failed) Complain(name, "cannot read the password file: " + SystemReason());
  if (!standard_input) fclose(file);
  if (!failed && line->size() > kLongestLine) {
    Complain(name, "the password is longer than " + std::to_string(kLongestLine) + " bytes");
    return false;
  }
  return !failed;
}

// The password from where the user said, or from the terminal.
bool ReadFromSource(const PasswordSource& source, std::string* password) {
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
  char line[kLongestLine + 1];
  const bool typed = platform::ReadHiddenLine(line, sizeof line);
  fputs("\n", stderr);
  if (typed) *password = line;
  return typed;
}

}  // namespace

bool ReadPassword(const PasswordSource& source, std::string* password) {
  if (!ReadFromSource(source, password)) return false;
  if (!password->empty()) return true;
  // No archive has an empty password; the program's check form is for
  // passwords of one to three characters, not for none.
  const std::string where = source.text ? "--password" : source.file ? source.file : "the typed line";
  Complain(where, "the password is empty");
  return false;
}

}  // namespace cli
