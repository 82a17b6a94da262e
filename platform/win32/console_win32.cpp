// Win32 console: console modes for a hidden line, a console control
// handler that removes the file being written, binary standard output, the
// module's file name.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "platform/console.h"

namespace platform {
namespace {

// Read by the control handler, which runs on a thread of its own.
char interrupt_path[MAX_PATH];
volatile LONG interrupt_path_set = 0;

BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  // The file was made with delete sharing: it goes when the process ends
  // and its handle closes.
  if (interrupt_path_set) DeleteFileA(interrupt_path);
  return FALSE;  // the default handler ends the process
}

bool IsConsole(DWORD which) {
  DWORD mode;
  // A console answers GetConsoleMode; a pipe, a file or NUL do not (NUL
  // would pass _isatty as a character device).
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

}  // namespace

bool InputIsTerminal() { return IsConsole(STD_INPUT_HANDLE); }
bool ErrorIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

bool ReadHiddenLine(char* line, int capacity) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  const bool console = GetConsoleMode(input, &saved) != 0;
  if (console) SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  const bool ok = fgets(line, capacity, stdin) != nullptr;
  if (console) SetConsoleMode(input, saved);
  if (!ok) return false;
  line[strcspn(line, "\r\n")] = '\0';
  return true;
}

void DeleteOnSignal(const char* path) {
  static bool installed = false;
  if (!installed) installed = SetConsoleCtrlHandler(OnControl, TRUE) != 0;
  InterlockedExchange(&interrupt_path_set, 0);
  if (!path || strlen(path) >= sizeof interrupt_path) return;
  memcpy(interrupt_path, path, strlen(path) + 1);
  InterlockedExchange(&interrupt_path_set, 1);
}

void SetBinaryOutput() {
  fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

unsigned long ProcessId() { return GetCurrentProcessId(); }

bool ProgramPath(char* path, int capacity) {
  const DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(capacity));
  return length > 0 && length < static_cast<DWORD>(capacity);
}

}  // namespace platform
