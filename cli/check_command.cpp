// `kelvarin check ARCHIVE`: the check walk with its messages on the
// terminal, in the program's English words. The archive's path is escaped
// as every name the tool prints; the verdict keeps its own line breaks.
#include <cstdio>
#include <cstring>

#include "archive/check_walk.h"
#include "cli/archive_argument.h"
#include "cli/commands.h"
#include "cli/help_texts.h"
#include "cli/messages.h"
#include "cli/text_encoding.h"
#include "ui/check_messages.h"

namespace cli {
namespace {

class TerminalCheckReporter : public archive::CheckReporter {
 public:
  void OnProblem(archive::CheckProblem problem, const archive::SharedState& state) override {
    Print(ui::CheckProblemMessage(problem, Printable(state.archive_path).c_str(), ui::Language::kEnglish));
  }
  void OnNoProblem(const archive::SharedState& state) override {
    Print(ui::CheckNoProblemMessage(Printable(state.archive_path).c_str(), ui::Language::kEnglish));
  }

 private:
  static void Print(const ui::MessageText& message) { printf("%s\n", message.text); }
};

}  // namespace

int RunCheck(int argc, char** argv) {
  if (PrintHelpIfAsked(argc, argv, kCheckHelp)) return kExitOk;
  // --quiet is taken as every command takes it; check shows no progress.
  const char* path = nullptr;
  for (int i = 0; i < argc; ++i) {
    const bool quiet = strcmp(argv[i], "--quiet") == 0 || strcmp(argv[i], "-q") == 0;
    if (!quiet && path) return UsageError("check", "one archive, no options but --quiet");
    if (!quiet) path = argv[i];
  }
  if (!path) return UsageError("check", "which archive?");
  static archive::SharedState state;
  if (!LocateArchive(path, &state)) return kExitArchive;
  TerminalCheckReporter reporter;
  return archive::CheckWalk(state, reporter) == 1 ? kExitOk : kExitArchive;
}

}  // namespace cli
