// POSIX console: termios for a hidden line, signal handlers that remove the
// file being written, /proc/self/exe for the program's path.
#include <signal.h>
#include <termios.h>
#include <unistd.h>
#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/console.h"

namespace platform {
namespace {

// Read by the signal handler: a fixed buffer, and a flag that says whether
// it holds a whole path.
char interrupt_path[PATH_MAX];
volatile sig_atomic_t interrupt_path_set = 0;

// The signals whose default action ends the program and that a user or
// the system sends to a tool at work.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

void OnInterrupt(int signal_number) {
  // unlink and raise are async-signal-safe. SA_RESETHAND has restored the
  // default action, so the raised signal ends the process as it would have.
  if (interrupt_path_set) unlink(interrupt_path);
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
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  const bool ok = fgets(line, capacity, stdin) != nullptr;
  if (terminal) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  if (!ok) return false;
  line[strcspn(line, "\r\n")] = '\0';
  return true;
}

void DeleteOnSignal(const char* path) {
  InstallInterruptHandlers();
  interrupt_path_set = 0;
  if (!path || strlen(path) >= sizeof interrupt_path) return;
  memcpy(interrupt_path, path, strlen(path) + 1);
  interrupt_path_set = 1;
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
