#include "window_driver/window_search.h"

namespace window_driver {

bool PollUntil(const std::function<bool()>& condition, DWORD milliseconds, DWORD interval) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= milliseconds) return false;
    Sleep(interval);
  }
  return true;
}

namespace {

BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool HasIcon(HWND box) {
  for (HWND child : ListWindows(box)) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 &&
        (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
        SendMessageA(child, STM_GETICON, 0, 0) != 0)
      return true;
  }
  return false;
}

}  // namespace

std::vector<HWND> ListWindows(HWND parent) {
  std::vector<HWND> windows;
  const LPARAM list = reinterpret_cast<LPARAM>(&windows);
  if (parent) {
    EnumChildWindows(parent, AddWindow, list);
  } else {
    EnumWindows(AddWindow, list);
  }
  return windows;
}

HWND FindWindowWhere(const WindowTest& test) {
  for (HWND window : ListWindows())
    if (IsWindowVisible(window) && test(window)) return window;
  return nullptr;
}

HWND WaitForWindow(const WindowTest& test, DWORD milliseconds) {
  HWND found = nullptr;
  PollUntil([&] { return (found = FindWindowWhere(test)) != nullptr; }, milliseconds, 50);
  return found;
}

DWORD ProcessOf(HWND window) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner;
}

WindowTest DialogOf(DWORD process_id) {
  return [process_id](HWND window) {
    return ClassOf(window) == "#32770" && (process_id == 0 || ProcessOf(window) == process_id);
  };
}

WindowTest MessageBoxOf(DWORD process_id) {
  return [of_process = DialogOf(process_id)](HWND window) { return of_process(window) && GetDlgItem(window, 0xFFFF); };
}

MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds) {
  MessageBoxContent content;
  content.window = WaitForWindow(MessageBoxOf(process_id), milliseconds);
  if (!content.window) return content;
  content.title = WindowText(content.window);
  content.text = WindowText(GetDlgItem(content.window, 0xFFFF));
  content.has_icon = HasIcon(content.window);
  return content;
}

HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds, HWND except) {
  const WindowTest of_process = DialogOf(process_id);
  return WaitForWindow(
      [&](HWND w) { return w != except && of_process(w) && (title.empty() || WindowText(w) == title); },
      milliseconds);
}

bool WaitForWindowGone(HWND window, DWORD milliseconds) {
  return PollUntil([&] { return !IsWindow(window); }, milliseconds, 10);
}

std::string WindowText(HWND window) {
  char buffer[4096] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
  return static_cast<LRESULT>(result);
}

std::string ControlText(HWND control) {
  char buffer[8192] = {};
  Ask(control, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
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

}  // namespace window_driver
