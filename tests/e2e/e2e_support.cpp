#include "e2e_support.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace e2e {
namespace {

struct Search {
  DWORD process_id;
  HWND found;
  const std::string* title = nullptr;
  HWND except = nullptr;
  bool message_box_only = false;  // only windows with a message text (control 0xFFFF)
};

BOOL CALLBACK FindDialogOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (owner == search->process_id && IsWindowVisible(window) && strcmp(class_name, "#32770") == 0 &&
      window != search->except && (!search->message_box_only || GetDlgItem(window, 0xFFFF)) &&
      (!search->title || search->title->empty() || WindowText(window) == *search->title)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
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

std::string WindowText(HWND window) {
  char buffer[4096] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
bool IsChecked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
bool IsShown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }

RECT ScreenRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(id ? GetDlgItem(dialog, id) : dialog, &rect);
  return rect;
}

HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds, HWND except) {
  const DWORD deadline = GetTickCount() + milliseconds;
  while (GetTickCount() < deadline) {
    Search search{process_id, nullptr, &title, except};
    EnumWindows(FindDialogOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  }
  ADD_FAILURE() << "no dialog \"" << title << "\" from process " << process_id;
  return nullptr;
}

bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds) {
  const DWORD deadline = GetTickCount() + milliseconds;
  while (GetTickCount() < deadline) {
    if (WindowText(window) == title) return true;
    Sleep(50);
  }
  return false;
}

std::string DecoderPath() {
  std::string path = KELVARIN_DECODER_PATH;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

const encoder::Bytes& DecoderBytes() {
  static const encoder::Bytes bytes = encoder::ReadWholeFile(DecoderPath());
  return bytes;
}

ui::Language SystemLanguage() { return ui::LanguageForOemCodePage(GetOEMCP()); }
const char* Expected(ui::TextId id) { return ui::Text(id, SystemLanguage()); }

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  static int counter = 0;
  char name[MAX_PATH];
  snprintf(name, sizeof name, "%se2e-%lu-%d", base, GetCurrentProcessId(), ++counter);
  CreateDirectoryA(name, nullptr);
  path_ = name;
}

TempFolder::~TempFolder() {
  // Remove the folder's files (tests make flat folders or clean up below).
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string item = path_ + "\\" + found.cFileName;
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(item.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path_.c_str());
}

Process::Process(const std::string& command_line) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = command_line;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) {
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

MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds) {
  MessageBoxContent content;
  const DWORD deadline = GetTickCount() + milliseconds;
  while (GetTickCount() < deadline) {
    Search search{process_id, nullptr};
    search.message_box_only = true;
    EnumWindows(FindDialogOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      content.window = search.found;
      content.title = WindowText(search.found);
      HWND text = GetDlgItem(search.found, 0xFFFF);
      if (text) content.text = WindowText(text);
      EnumChildWindows(search.found, FindIcon, reinterpret_cast<LPARAM>(&content.has_icon));
      return content;
    }
    Sleep(50);
  }
  ADD_FAILURE() << "no message box from process " << process_id;
  return content;
}

void ClickButton(HWND window, int id) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

std::string CopyOfDecoder(const TempFolder& folder, const std::string& name) {
  std::string path = folder.File(name);
  EXPECT_TRUE(CopyFileA(DecoderPath().c_str(), path.c_str(), FALSE)) << path;
  return path;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace e2e
