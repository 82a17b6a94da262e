#include "cli/texts/messages.h"

#include <cstdio>
#include <cstring>

#include "cli/commands/commands.h"
#include "cli/texts/text_encoding.h"
#include "platform/os.h"

namespace cli {

bool PrintHelpIfAsked(int argc, char** argv, const char* help) {
  for (int i = 0; i < argc; ++i) {
    if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0) {
      fputs(help, stdout);
      return true;
    }
  }
  return false;
}

int UsageError(const char* command, const std::string& problem) {
  const std::string name = *command ? std::string("kelvarin ") + command : "kelvarin";
  fprintf(stderr, "%s: %s\nSee '%s --help'.\n", name.c_str(), Printable(problem).c_str(), name.c_str());
  return kExitUsage;
}

void Complain(const std::string& subject, const std::string& text) {
  fprintf(stderr, "kelvarin: %s: %s\n", Printable(subject).c_str(), Printable(text).c_str());
}

void Note(const std::string& text) { fprintf(stderr, "kelvarin: %s\n", Printable(text).c_str()); }

std::string SystemReason() {
  char text[256];
  platform::OsErrorText(text, sizeof text);
  return text;
}

}  // namespace cli
