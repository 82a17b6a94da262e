// `kelvarin check ARCHIVE`: the check walk with its messages on the
// terminal, in the program's English words. The archive's path is escaped
// as every name the tool prints; the verdict keeps its own line breaks.
#include <cstdio>
#include <cstring>

#include "archive/check_walk.h"
#include "cli/commands/archive_argument.h"
#include "cli/commands/commands.h"
#include "cli/help_texts.h"
#include "cli/texts/messages.h"
#include "cli/commands/option_parser.h"
#include "cli/texts/text_encoding.h"
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
  bool quiet = false;
  const char* path = nullptr;
  const std::string problem = ParseArguments(argc, argv, {Flag("--quiet", "-q", &quiet)}, [&](const char* argument) {
    if (path) return std::string("one archive only: ") + argument;
    path = argument;
    return std::string();
  });
  if (!problem.empty()) return UsageError("check", problem);
  if (!path) return UsageError("check", "which archive?");
  static archive::SharedState state;
  if (!LocateArchive(path, &state)) return kExitArchive;
  TerminalCheckReporter reporter;
  return archive::CheckWalk(state, reporter) == 1 ? kExitOk : kExitArchive;
}

}  // namespace cli
