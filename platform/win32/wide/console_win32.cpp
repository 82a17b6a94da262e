// The Win32 console of a program whose texts and paths are UTF-8: the
// arguments from the wide command line, UTF-8 on the console, console
// modes for a hidden line, a console control handler that removes the
// file being written, binary standard output, and the module's file name.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/win32/wide/held_folder.h"
#include "platform/win32/wide/wide_name.h"
#include "platform/win32/wide/wide_text.h"

namespace platform {
namespace {

// Read by the control handler, which runs on a thread of its own.
wchar_t interrupt_path[MAX_PATH];
volatile LONG interrupt_path_set = 0;
DWORD saved_input_mode = 0;
volatile LONG input_mode_saved = 0;

BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  // The console keeps its modes after the program: typing shows again.
  if (input_mode_saved) SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), saved_input_mode);
  // The file was made with delete sharing: it goes when the process ends
  // and its handle closes. A staged file may be read-only by now.
  if (interrupt_path_set) {
    SetFileAttributesW(interrupt_path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(interrupt_path);
  }
  return FALSE;  // the default handler ends the process
}

void InstallControlHandler() {
  static bool installed = false;
  if (!installed) installed = SetConsoleCtrlHandler(OnControl, TRUE) != 0;
}

bool IsConsole(DWORD which) {
  DWORD mode;
  // A console answers GetConsoleMode; a pipe, a file or NUL do not (NUL
  // would pass _isatty as a character device).
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

UINT console_output_code_page = 0;
void RestoreConsoleCodePage() { SetConsoleOutputCP(console_output_code_page); }

}  // namespace

void UseUtf8(int* argc, char*** argv) {
  static std::vector<std::string> texts;
  static std::vector<char*> pointers;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide) {
    for (int i = 0; i < count; ++i) texts.push_back(Utf8FromWide(wide[i], wcslen(wide[i])));
    LocalFree(wide);
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    *argc = count;
    *argv = pointers.data();
  }
  if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
    console_output_code_page = GetConsoleOutputCP();
    if (SetConsoleOutputCP(CP_UTF8)) atexit(RestoreConsoleCodePage);
  }
}

bool InputIsTerminal() { return IsConsole(STD_INPUT_HANDLE); }
bool ErrorIsTerminal() { return IsConsole(STD_ERROR_HANDLE); }

bool ReadHiddenLine(char* line, int capacity) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  if (!GetConsoleMode(input, &saved)) {
    if (!fgets(line, capacity, stdin)) return false;
    line[strcspn(line, "\r\n")] = '\0';
    return true;
  }
  InstallControlHandler();
  saved_input_mode = saved;
  InterlockedExchange(&input_mode_saved, 1);
  SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  wchar_t typed[1024];
  DWORD count = 0;
  const bool ok = ReadConsoleW(input, typed, sizeof typed / sizeof typed[0] - 1, &count, nullptr) != 0;
  SetConsoleMode(input, saved);
  InterlockedExchange(&input_mode_saved, 0);
  if (!ok || count == 0) return false;
  std::string text = Utf8FromWide(typed, count);
  text.resize(strcspn(text.c_str(), "\r\n"));
  snprintf(line, static_cast<size_t>(capacity), "%s", text.c_str());
  return true;
}

void DeleteOnSignal(const Folder& folder, const char* name) {
  InstallControlHandler();
  InterlockedExchange(&interrupt_path_set, 0);
  if (!name || !folder.IsOpen()) return;
  // The folder is held without delete sharing: its path still names it.
  const std::string path = std::string(Held(folder.os())->path) + "\\" + name;
  const WideName wide(path.c_str());
  const size_t length = wcslen(wide);
  if (length == 0 || length >= MAX_PATH) return;
  wmemcpy(interrupt_path, wide, length + 1);
  InterlockedExchange(&interrupt_path_set, 1);
}

void SetBinaryOutput() {
  fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

unsigned long ProcessId() { return GetCurrentProcessId(); }

bool ProgramPath(char* path, int capacity) {
  wchar_t wide[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string text = Utf8FromWide(wide, length);
  if (text.size() >= static_cast<size_t>(capacity)) return false;
  memcpy(path, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace platform
