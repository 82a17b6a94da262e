// The password prompt on a terminal (a pseudo-terminal of its own):
// typing is hidden while it is asked for, and a signal that ends the
// program then leaves the terminal showing typing again, as it was.
#include <gtest/gtest.h>
#include <string>

#include "cli_tool_fixture.h"

namespace {

using test_support::CliTool;
using test_support::MakeEntry;
using PasswordPrompt = CliTool;

// Starts `list` on a new pseudo-terminal, with every signal at its
// default (Python ignores SIGPIPE), and waits (30 s at most) until the
// terminal hides typing; then sends the signal, and says how the program
// ended and whether the terminal echoes again.
const char kAtThePrompt[] = R"(
import fcntl, os, signal, sys, termios, time
master, terminal = os.openpty()
pid = os.fork()
if pid == 0:
    os.setsid()
    fcntl.ioctl(terminal, termios.TIOCSCTTY, 0)
    for fd in (0, 1, 2):
        os.dup2(terminal, fd)
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)
    os.execv(sys.argv[1], [sys.argv[1], "list", "a.exe"])
def echoing():
    return termios.tcgetattr(terminal)[3] & termios.ECHO != 0
deadline = time.time() + 30
while echoing() and time.time() < deadline:
    time.sleep(0.01)
print("hidden" if not echoing() else "shown")
os.kill(pid, getattr(signal, "SIG" + sys.argv[2]))
_, status = os.waitpid(pid, 0)
print("ended by", signal.Signals(os.WTERMSIG(status)).name if os.WIFSIGNALED(status) else os.WEXITSTATUS(status))
print("echoes" if echoing() else "silent")
)";

// Ctrl-C at the prompt used to leave the terminal with echo off.
TEST_F(PasswordPrompt, ASignalAtThePromptLeavesTheTerminalEchoing) {
  WriteArchive("a.exe", {MakeEntry("a.txt", {'a'})});
  Write("at_the_prompt.py", encoder::Bytes(kAtThePrompt, kAtThePrompt + sizeof kAtThePrompt - 1));
  for (const char* name : {"INT", "TERM", "HUP", "QUIT", "PIPE", "ALRM", "USR1"}) {
    std::string printed;
    Shell(std::string("ulimit -c 0; python3 at_the_prompt.py '" KELVARIN_CLI "' ") + name, &printed);
    EXPECT_EQ(printed, std::string("hidden\nended by SIG") + name + "\nechoes\n") << name;
  }
}

}  // namespace
