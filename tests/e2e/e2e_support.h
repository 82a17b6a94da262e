// Driving the real program under Wine: starting copies of decoder.exe,
// finding its windows, reading message boxes and clicking buttons.
#pragma once

#include <windows.h>

#include <string>
#include <memory>
#include <vector>

#include "encoder/archive_writer.h"
#include "ui/texts.h"

namespace e2e {

// The built decoder.exe as a Windows path.
std::string DecoderPath();
// Its bytes, the stub of every archive the tests write.
const encoder::Bytes& DecoderBytes();
ui::Language SystemLanguage();
const char* Expected(ui::TextId id);

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

// A started program; the destructor ends it if it still runs.
class Process {
 public:
  explicit Process(const std::string& command_line, const std::string& folder = "");
  ~Process();
  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // True when it ended within the time; the exit code is then set.
  bool WaitForExit(DWORD milliseconds, DWORD* exit_code = nullptr);

 private:
  PROCESS_INFORMATION info_{};
};

struct MessageBoxContent {
  HWND window = nullptr;
  std::string title;
  std::string text;
  bool has_icon = false;
};

// Process id 0 in the waits below stands for any process.

// Waits for a message box (or dialog) of the process and reads it.
MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds = 20000);
// Waits for a visible dialog-class window of the process whose title is
// title (any title when empty) and that is not `except`.
HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds = 20000,
                   HWND except = nullptr);
// Waits until the window's title is title; false on timeout.
bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds = 20000);
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
bool IsShown(HWND dialog, int id);
RECT ScreenRect(HWND dialog, int id);
// Presses the button with the id (posted, so that modal loops go on).
void ClickButton(HWND window, int id);

// Starts a program with the given current folder (the parent's when empty).
std::unique_ptr<Process> StartIn(const std::string& command_line, const std::string& folder);

// Answers a Save-As dialog of the process (title given, not `except`)
// with the path, or cancels it when the path is empty.
bool AnswerSaveAs(DWORD process_id, const std::string& title, HWND except, const std::string& path);
// Accepts the folder the browser opened at (its path given, for Wine's
// sake: see the definition), or cancels it.
bool AnswerFolderBrowser(DWORD process_id, bool accept, const std::string& opened_at = "");

// Where the run keeps its screenshots (KELVARIN_E2E_SCREENSHOTS), or empty.
std::string ScreenshotFolder();

// Copies decoder.exe into the folder under the name and gives the path.
std::string CopyOfDecoder(const TempFolder& folder, const std::string& name = "decoder-copy.exe");
std::string Quoted(const std::string& text);

}  // namespace e2e

namespace e2e {

// Saves what the screen shows as a 24-bit BMP file.
bool SaveScreenshot(const std::string& bmp_path);

}  // namespace e2e
