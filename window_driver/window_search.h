// Finding another program's windows, reading what they show and pressing
// their buttons, as a user would. Every wait polls for a state it can
// check, up to a deadline.
#pragma once

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace window_driver {

// Calls condition every `interval` milliseconds until it holds; false
// when the deadline passed first.
bool PollUntil(const std::function<bool()>& condition, DWORD milliseconds, DWORD interval = 20);

// The top-level windows, or the child windows of `parent`.
std::vector<HWND> ListWindows(HWND parent = nullptr);
// The one window search: visible top-level windows, tested in turn.
using WindowTest = std::function<bool(HWND)>;
HWND FindWindowWhere(const WindowTest& test);
// Waits for such a window; null at the deadline.
HWND WaitForWindow(const WindowTest& test, DWORD milliseconds = 20000);
// Dialog-class windows of the process (any process when process_id is 0).
WindowTest DialogOf(DWORD process_id);
// Message boxes of the process: dialogs with a message text, control 0xFFFF.
WindowTest MessageBoxOf(DWORD process_id);
DWORD ProcessOf(HWND window);

struct MessageBoxContent {
  HWND window = nullptr;
  std::string title;
  std::string text;
  bool has_icon = false;
};

// Waits for a message box of the process and reads it; a null window at
// the deadline.
MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds = 20000);
// Waits for a dialog of the process with this title (any title when
// empty) that is not `except`; null at the deadline.
HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds = 20000, HWND except = nullptr);
bool WaitForWindowGone(HWND window, DWORD milliseconds = 20000);

std::string WindowText(HWND window);
// Sends the message, giving up after 5 s on a window that hangs; 0 then.
LRESULT Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// A control's text as its window procedure gives it (for an edit control
// of another process the plain call gives only its creation text).
std::string ControlText(HWND dialog, int id);
std::string ControlText(HWND control);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
bool IsShown(HWND dialog, int id);
RECT ScreenRect(HWND dialog, int id);
// Presses the button with the id (posted, so that modal loops go on).
void ClickButton(HWND window, int id);

}  // namespace window_driver
