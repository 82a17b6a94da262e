#include "cli/password_input.h"

#include <termios.h>
#include <unistd.h>
#include <cstdio>
#include <fstream>

namespace cli {
namespace {

void StripLineEnd(std::string* line) {
  while (!line->empty() && (line->back() == '\n' || line->back() == '\r')) line->pop_back();
}

bool PromptWithoutEcho(std::string* password) {
  if (!isatty(STDIN_FILENO)) {
    fputs("kelvarin: no password given (use --password-file or a terminal)\n", stderr);
    return false;
  }
  fputs("Password: ", stderr);
  termios saved;
  tcgetattr(STDIN_FILENO, &saved);
  termios quiet = saved;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  char buffer[4096];
  bool ok = fgets(buffer, sizeof buffer, stdin) != nullptr;
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  fputs("\n", stderr);
  if (!ok) return false;
  *password = buffer;
  StripLineEnd(password);
  return true;
}

}  // namespace

bool ReadPassword(const PasswordSource& source, std::string* password) {
  if (source.text) {
    *password = source.text;
    return true;
  }
  if (source.file) {
    std::ifstream in(source.file, std::ios::binary);
    if (!in || !std::getline(in, *password)) {
      fprintf(stderr, "kelvarin: cannot read the password file %s\n", source.file);
      return false;
    }
    StripLineEnd(password);
    return true;
  }
  return PromptWithoutEcho(password);
}

}  // namespace cli
