#include "cli/password_input.h"

#include <cstdio>

#include "cli/messages.h"
#include "platform/console.h"
#include "platform/file.h"

namespace cli {
namespace {

constexpr uint32_t kLongestLine = 4096;

// The text up to the first line end.
std::string FirstLine(const char* text, size_t length) {
  std::string line(text, length);
  return line.substr(0, line.find_first_of("\r\n"));
}

}  // namespace

bool ReadPassword(const PasswordSource& source, std::string* password) {
  if (source.text) {
    *password = source.text;
    return true;
  }
  if (source.file) {
    platform::File file = platform::File::OpenRead(source.file);
    char text[kLongestLine];
    const uint32_t length = file.IsOpen() ? file.Read(text, sizeof text) : 0;
    if (!file.IsOpen()) {
      Complain(source.file, "cannot read the password file: " + SystemReason());
      return false;
    }
    *password = FirstLine(text, length);
    return true;
  }
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
