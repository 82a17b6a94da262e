// kelvarin: the archive tool on the same core as the decoder. The commands
// and their options are told by `kelvarin --help` and kelvarin(1), both
// made from cli/manual.txt.
#include <cstdio>
#include <cstring>
#include <string>

#include "archive/shared_state.h"
#include "cli/commands/commands.h"
#include "cli/help_texts.h"
#include "cli/texts/messages.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  platform::UseUtf8(&argc, &argv);
  struct Command {
    const char* name;
    int (*run)(int, char**);
  };
  static const Command kCommands[] = {
      {"check", cli::RunCheck}, {"list", cli::RunList}, {"extract", cli::RunExtract}, {"pack", cli::RunPack}};
  if (argc >= 2) {
    for (const Command& command : kCommands) {
      if (strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
    }
    if (strcmp(argv[1], "--version") == 0) {
      printf("kelvarin %s (archive format %u)\n", cli::kVersion, archive::kSupportedVersion);
      return cli::kExitOk;
    }
    if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0 || strcmp(argv[1], "help") == 0) {
      fputs(cli::kMainHelp, stdout);
      return cli::kExitOk;
    }
    return cli::UsageError("", std::string("no command ") + argv[1] + " (check, list, extract, pack)");
  }
  fputs(cli::kMainHelp, stderr);
  return cli::kExitUsage;
}
