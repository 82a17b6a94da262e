// Driving the real program under Wine: starting copies of decoder.exe,
// finding its windows, reading message boxes and clicking buttons. Every
// wait polls for a state it can check, up to a deadline.
#pragma once

#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "encoder/archive_writer.h"
#include "encoder/entry_encoder.h"
#include "ui/texts.h"

namespace e2e {

// The built decoder.exe's bytes, the stub of every archive the tests
// write.
const encoder::Bytes& DecoderBytes();
ui::Language SystemLanguage();
const char* Expected(ui::TextId id);
// A host path ("/work/...") as Windows programs see it ("Z:\work\...").
std::string WindowsPath(const std::string& host_path);
std::string Quoted(const std::string& text);
bool FileExists(const std::string& path);
// Writes the file whole; false when it could not be.
bool WriteBytes(const std::string& path, const encoder::Bytes& bytes);
uint64_t Ticks(const FILETIME& time);
// The decoded file holds the entry's contents, times and attributes.
void ExpectFileAsRecorded(const std::string& path, const encoder::Entry& entry);

// Calls condition every `interval` milliseconds until it holds; false
// when the deadline passed first.
bool PollUntil(const std::function<bool()>& condition, DWORD milliseconds, DWORD interval = 20);

// A fresh folder below the temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Copies decoder.exe into the folder under a name not used before, with a
// blank in it: every run of the dialog or check form ends with its program
// file deleted, so each run needs a copy of its own.
std::string FreshCopyOfDecoder(const TempFolder& folder);

// A started program; the destructor ends it if it still runs.
class Process {
 public:
  // Starts the command line in the folder, which must be on drive C:
  // the program's clean-up chain may write a batch file into the root of
  // its current drive, and Z: is the host's own root. creation_flags go to
  // CreateProcess (DETACHED_PROCESS: a console program without a console),
  // and so does whether it inherits this process's inheritable handles.
  Process(const std::string& command_line, const std::string& folder, DWORD creation_flags = 0,
          bool inherit_handles = false);
  ~Process();
  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // True when it ended within the time; the exit code is then set.
  bool WaitForExit(DWORD milliseconds, DWORD* exit_code = nullptr);

 private:
  PROCESS_INFORMATION info_{};
};

// The top-level windows, or the child windows of `parent`.
std::vector<HWND> ListWindows(HWND parent = nullptr);
// The one window search: visible top-level windows, tested in turn.
using WindowTest = std::function<bool(HWND)>;
HWND FindWindowWhere(const WindowTest& test);
// Waits for such a window; adds a failure naming `what` at the deadline.
HWND WaitForWindow(const WindowTest& test, const std::string& what, DWORD milliseconds = 20000);
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

// Waits for a message box of the process and reads it.
MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds = 20000);
// Waits for a dialog of the process with this title (any title when
// empty) that is not `except`.
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

// Where the run keeps its screenshots (KELVARIN_E2E_SCREENSHOTS), or empty.
std::string ScreenshotFolder();
// Saves the window as name.bmp there when the run keeps screenshots.
void Screenshot(HWND window, const std::string& name);
// Saves the window and the windows it owns, as the screen shows them, as
// a 24-bit BMP file.
bool SaveWindowScreenshot(HWND window, const std::string& bmp_path);

}  // namespace e2e
