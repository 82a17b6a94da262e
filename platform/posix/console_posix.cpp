// POSIX console: termios for a hidden line, signal handlers that put the
// terminal back and remove the file being written, /proc/self/exe for the
// program's path.
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>
#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/console.h"
#include "platform/posix/descriptors.h"

namespace platform {
namespace {

// Read by the signal handler: the held folder's descriptor and a fixed
// buffer for the name, and flags that say whether they are whole.
int interrupt_folder = -1;
char interrupt_name[NAME_MAX + 1];
volatile sig_atomic_t interrupt_name_set = 0;
termios saved_terminal;
volatile sig_atomic_t terminal_saved = 0;

// The signals whose default action ends the program and that a user, the
// system or another program sends to a tool at work.
constexpr int kEndingSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGPIPE,   SIGALRM,
                                  SIGUSR1, SIGUSR2, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF};

void OnInterrupt(int signal_number) {
  // tcsetattr, unlinkat and raise are async-signal-safe. SA_RESETHAND has
  // restored the default action, so the raised signal ends the process as
  // it would have.
  if (terminal_saved) tcsetattr(STDIN_FILENO, TCSANOW, &saved_terminal);
  if (interrupt_name_set) unlinkat(interrupt_folder, interrupt_name, 0);
  raise(signal_number);
}

void InstallInterruptHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction action;
  memset(&action, 0, sizeof action);
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal_number : kEndingSignals) sigaddset(&action.sa_mask, signal_number);
  for (int signal_number : kEndingSignals) {
    struct sigaction previous;
    // A signal ignored by whoever started us (nohup, a background job) stays ignored.
    if (sigaction(signal_number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(signal_number, &action, nullptr);
  }
}

}  // namespace

void UseUtf8(int*, char***) {}

bool InputIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool ErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

bool ReadHiddenLine(char* line, int capacity) {
  termios saved;
  const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    InstallInterruptHandlers();
    saved_terminal = saved;
    terminal_saved = 1;
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  const bool ok = fgets(line, capacity, stdin) != nullptr;
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    terminal_saved = 0;
  }
  if (!ok) return false;
  line[strcspn(line, "\r\n")] = '\0';
  return true;
}

void DeleteOnSignal(const Folder& folder, const char* name) {
  InstallInterruptHandlers();
  interrupt_name_set = 0;
  if (!name || !folder.IsOpen() || strlen(name) >= sizeof interrupt_name) return;
  interrupt_folder = posix::Fd(folder.os());
  memcpy(interrupt_name, name, strlen(name) + 1);
  interrupt_name_set = 1;
}

void SetBinaryOutput() {}

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

bool ProgramPath(char* path, int capacity) {
  const ssize_t length = readlink("/proc/self/exe", path, static_cast<size_t>(capacity));
  if (length <= 0 || length >= capacity) return false;
  path[length] = '\0';
  return true;
}

}  // namespace platform
