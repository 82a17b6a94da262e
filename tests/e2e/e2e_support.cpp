#include "e2e_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>

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
  if ((search->process_id == 0 || owner == search->process_id) && IsWindowVisible(window) && strcmp(class_name, "#32770") == 0 &&
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

// Asked for with WM_GETTEXT: for a window of another process the plain
// call returns only a caption, never an edit control's contents.
std::string ControlText(HWND dialog, int id) {
  char buffer[8192] = {};
  SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}
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

Process::Process(const std::string& command_line, const std::string& folder) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = command_line;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
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

std::unique_ptr<Process> StartIn(const std::string& command_line, const std::string& folder) {
  return std::make_unique<Process>(command_line, folder);
}

bool AnswerSaveAs(DWORD process_id, const std::string& title, HWND except, const std::string& path) {
  HWND dialog = WaitForDialog(process_id, title, 20000, except);
  if (!dialog) return false;
  if (path.empty()) {
    ClickButton(dialog, IDCANCEL);
    return true;
  }
  // The file name edit sits in the combo box inside the ComboBoxEx32 1148.
  const DWORD deadline = GetTickCount() + 10000;
  HWND edit = nullptr;
  while (!edit && GetTickCount() < deadline) {
    HWND extended = GetDlgItem(dialog, 1148);
    HWND combo = extended ? FindWindowExA(extended, nullptr, "ComboBox", nullptr) : nullptr;
    edit = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
    if (!edit && extended) edit = FindWindowExA(extended, nullptr, "Edit", nullptr);
    if (!edit) Sleep(50);
  }
  if (!edit) {
    ADD_FAILURE() << "the Save-As dialog has no file name edit";
    return false;
  }
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  ClickButton(dialog, IDOK);
  return true;
}

namespace {

struct BrowserSearch {
  DWORD process_id;
  HWND browser = nullptr;
  HWND tree = nullptr;
};

// The folder browser is the dialog of the process that holds a tree view
// (its title is localised, so it is not found by title).
BOOL CALLBACK FindFolderBrowser(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BrowserSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if ((search->process_id != 0 && owner != search->process_id) || !IsWindowVisible(window) || strcmp(class_name, "#32770") != 0) return TRUE;
  HWND tree = FindWindowExA(window, nullptr, "SysTreeView32", nullptr);
  if (!tree) return TRUE;
  search->browser = window;
  search->tree = tree;
  return FALSE;
}

}  // namespace

bool AnswerFolderBrowser(DWORD process_id, bool accept, const std::string& opened_at) {
  const DWORD deadline = GetTickCount() + 30000;
  BrowserSearch search{process_id};
  while (!search.browser && GetTickCount() < deadline) {
    EnumWindows(FindFolderBrowser, reinterpret_cast<LPARAM>(&search));
    if (!search.browser) Sleep(50);
  }
  if (!search.browser) {
    ADD_FAILURE() << "no folder browser from process " << process_id;
    return false;
  }
  // Accept only once the browser has selected the folder it opens at and
  // the selection has held for a moment.
  auto wait_for_selection = [&](DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    LRESULT held = 0;
    DWORD held_since = GetTickCount();
    while (GetTickCount() < until) {
      const LRESULT now = SendMessageA(search.tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
      if (now != held || now == 0 || !IsEnabled(search.browser, IDOK)) {
        held = now;
        held_since = GetTickCount();
      } else if (GetTickCount() - held_since > 500) {
        return true;
      }
      Sleep(50);
    }
    return false;
  };
  if (accept && !wait_for_selection(5000) && !opened_at.empty()) {
    // Wine fills the tree after the browser's callback has asked for its
    // start folder, and the request is sometimes lost. Ask again, as the
    // callback did, with the text placed in the browser's own memory.
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process_id);
    void* remote = process ? VirtualAllocEx(process, nullptr, opened_at.size() + 1, MEM_COMMIT, PAGE_READWRITE) : nullptr;
    if (remote && WriteProcessMemory(process, remote, opened_at.c_str(), opened_at.size() + 1, nullptr)) {
      SendMessageA(search.browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote));
    }
    if (process) CloseHandle(process);
    wait_for_selection(10000);
  }
  ClickButton(search.browser, accept ? IDOK : IDCANCEL);
  return true;
}

std::string ScreenshotFolder() {
  const char* folder = getenv("KELVARIN_E2E_SCREENSHOTS");
  if (!folder || !*folder) return "";
  std::string path = folder;
  if (path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  // Make every missing level.
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

std::string CopyOfDecoder(const TempFolder& folder, const std::string& name) {
  std::string path = folder.File(name);
  EXPECT_TRUE(CopyFileA(DecoderPath().c_str(), path.c_str(), FALSE)) << path;
  return path;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace e2e
