#include "e2e_support.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>

namespace e2e {

std::string WindowsPath(const std::string& host_path) {
  std::string path = host_path;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string DecoderPath() { return WindowsPath(KELVARIN_DECODER_PATH); }

const encoder::Bytes& DecoderBytes() {
  static const encoder::Bytes bytes = encoder::ReadWholeFile(DecoderPath());
  return bytes;
}

ui::Language SystemLanguage() { return ui::LanguageForOemCodePage(GetOEMCP()); }
const char* Expected(ui::TextId id) { return ui::Text(id, SystemLanguage()); }
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
uint64_t Ticks(const FILETIME& time) { return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

bool WriteBytes(const std::string& path, const encoder::Bytes& bytes) {
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return fclose(out) == 0 && written;
}

bool PollUntil(const std::function<bool()>& condition, DWORD milliseconds, DWORD interval) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(interval);
  }
  return true;
}

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  // Process ids repeat from one Wine run to the next: take the first name
  // that is not there yet.
  static int counter = 0;
  char name[MAX_PATH];
  do {
    snprintf(name, sizeof name, "%se2e-%lu-%d", base, GetCurrentProcessId(), ++counter);
  } while (!CreateDirectoryA(name, nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
  path_ = name;
}

namespace {

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string item = folder + "\\" + name;
      SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(item);
      } else {
        DeleteFileA(item.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string FreshCopyOfDecoder(const TempFolder& folder) {
  static int copies = 0;
  const std::string path = folder.File("decoder-copy-" + std::to_string(++copies) + ".exe");
  EXPECT_TRUE(CopyFileA(DecoderPath().c_str(), path.c_str(), FALSE)) << path;
  return path;
}

Process::Process(const std::string& command_line, const std::string& folder, DWORD creation_flags) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = command_line;
  if (folder.size() < 3 || (folder[0] != 'C' && folder[0] != 'c') || folder[1] != ':') {
    ADD_FAILURE() << "not started outside drive C: " << command_line << " in \"" << folder << "\"";
    return;
  }
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, creation_flags, nullptr, folder.c_str(), &startup,
                      &info_)) {
    ADD_FAILURE() << "could not start: " << command_line << " (error " << GetLastError() << ")";
    info_ = {};
  }
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
  CloseHandle(info_.hProcess);
  CloseHandle(info_.hThread);
}

bool Process::WaitForExit(DWORD milliseconds, DWORD* exit_code) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  if (exit_code) GetExitCodeProcess(info_.hProcess, exit_code);
  return true;
}

bool WaitForProcessEnd(DWORD process_id, DWORD milliseconds) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_id);
  if (!process) return true;  // already gone
  const bool ended = WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

namespace {

struct Search {
  const WindowTest* test;
  HWND found = nullptr;
};

BOOL CALLBACK TestWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window) || !(*search->test)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM param) {
  char class_name[64] = {};
  GetClassNameA(child, class_name, sizeof class_name);
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if (_stricmp(class_name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
      SendMessageA(child, STM_GETICON, 0, 0) != 0) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindWindowWhere(const WindowTest& test) {
  Search search{&test};
  EnumWindows(TestWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const WindowTest& test, const std::string& what, DWORD milliseconds) {
  HWND found = nullptr;
  if (!PollUntil([&] { return (found = FindWindowWhere(test)) != nullptr; }, milliseconds, 50)) {
    ADD_FAILURE() << "no " << what << " within " << milliseconds << " ms";
  }
  return found;
}

DWORD ProcessOf(HWND window) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner;
}

WindowTest DialogOf(DWORD process_id) {
  return [process_id](HWND window) {
    char class_name[64] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    return strcmp(class_name, "#32770") == 0 && (process_id == 0 || ProcessOf(window) == process_id);
  };
}

MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds) {
  const WindowTest of_process = DialogOf(process_id);
  MessageBoxContent content;
  content.window = WaitForWindow([&](HWND w) { return of_process(w) && GetDlgItem(w, 0xFFFF); },
                                 "message box from process " + std::to_string(process_id), milliseconds);
  if (!content.window) return content;
  content.title = WindowText(content.window);
  content.text = WindowText(GetDlgItem(content.window, 0xFFFF));
  EnumChildWindows(content.window, FindIcon, reinterpret_cast<LPARAM>(&content.has_icon));
  return content;
}

HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds, HWND except) {
  const WindowTest of_process = DialogOf(process_id);
  return WaitForWindow(
      [&](HWND w) { return w != except && of_process(w) && (title.empty() || WindowText(w) == title); },
      "dialog \"" + title + "\" from process " + std::to_string(process_id), milliseconds);
}

bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds) {
  return PollUntil([&] { return WindowText(window) == title; }, milliseconds, 50);
}

bool WaitForWindowGone(HWND window, DWORD milliseconds) {
  return PollUntil([&] { return !IsWindow(window); }, milliseconds, 10);
}

std::string WindowText(HWND window) {
  char buffer[4096] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ControlText(HWND control) {
  char buffer[8192] = {};
  DWORD_PTR unused = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                      &unused);
  return buffer;
}
std::string ControlText(HWND dialog, int id) { return ControlText(GetDlgItem(dialog, id)); }
bool IsChecked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
bool IsShown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }

RECT ScreenRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(id ? GetDlgItem(dialog, id) : dialog, &rect);
  return rect;
}

void ClickButton(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

std::string ScreenshotFolder() {
  const char* folder = getenv("KELVARIN_E2E_SCREENSHOTS");
  if (!folder || !*folder) return "";
  const std::string path = WindowsPath(folder);
  // Make every missing level.
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

void Screenshot(HWND window, const std::string& name) {
  const std::string folder = ScreenshotFolder();
  if (!folder.empty()) {
    EXPECT_TRUE(SaveWindowScreenshot(window, folder + "\\" + name + ".bmp")) << name;
  }
}

}  // namespace e2e
