// Driving the real program under Wine in the end-to-end tests: the window
// driver (window_driver/, shared with the demo) with test failures that
// say what was awaited, the built decoder.exe's bytes, and the checks of
// decoded files.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>

#include "encoder/archive_writer.h"
#include "encoder/entry_encoder.h"
#include "window_driver/decoder_program.h"
#include "window_driver/outcome.h"
#include "window_driver/processes.h"
#include "window_driver/screenshot.h"
#include "window_driver/system_dialogs.h"
#include "window_driver/window_search.h"

namespace e2e {

// The driver's names the tests use as their own.
using window_driver::ClickButton;
using window_driver::ControlText;
using window_driver::DecoderPath;
using window_driver::FileExists;
using window_driver::FindFolderBrowser;
using window_driver::IsEnabled;
using window_driver::IsShown;
using window_driver::MessageBoxContent;
using window_driver::Outcome;
using window_driver::PollUntil;
using window_driver::ProcessOf;
using window_driver::Quoted;
using window_driver::SaveWindowScreenshot;
using window_driver::TempFolder;
using window_driver::WaitForWindowGone;
using window_driver::WindowTest;
using window_driver::WindowText;
using window_driver::WindowsPath;

// What follows adds a test failure where the driver only reports.

::testing::AssertionResult Checked(const Outcome& outcome);

// The same waits, adding a failure that names `what` at the deadline.
HWND WaitForWindow(const WindowTest& test, const std::string& what, DWORD milliseconds = 20000);
MessageBoxContent WaitForMessageBox(DWORD process_id, DWORD milliseconds = 20000);
HWND WaitForDialog(DWORD process_id, const std::string& title, DWORD milliseconds = 20000, HWND except = nullptr);
// A copy that could not be made fails the test.
std::string FreshCopyOfDecoder(const TempFolder& folder);
::testing::AssertionResult AnswerSaveAs(DWORD process_id, const std::string& title, HWND except,
                                        const std::string& path);
::testing::AssertionResult AnswerFolderBrowser(DWORD process_id, const std::string& expected,
                                               const std::function<void(HWND)>& verified = nullptr);

// A program that could not be started fails the test.
class Process : public window_driver::Process {
 public:
  Process(const std::string& command_line, const std::string& folder, DWORD creation_flags = 0,
          bool inherit_handles = false);
};

// The built decoder.exe's bytes, the stub of every archive the tests
// write.
const encoder::Bytes& DecoderBytes();
// Writes the file whole; false when it could not be.
bool WriteBytes(const std::string& path, const encoder::Bytes& bytes);
uint64_t Ticks(const FILETIME& time);
// Whether the file system of folder keeps a creation time that a program
// sets: Wine on most Linux file systems does not.
bool CreationTimesStick(const std::string& folder);
// The decoded file has the record's times and attributes; checked before
// anything reads the file, which would touch its access time.
void ExpectTimesAndAttributesAsRecorded(const std::string& path, const archive::FileRecord& record);
// The decoded file holds the entry's contents, times and attributes.
void ExpectFileAsRecorded(const std::string& path, const encoder::Entry& entry);

// Where the run keeps its screenshots (KELVARIN_E2E_SCREENSHOTS), or empty.
std::string ScreenshotFolder();
// Saves the window as name.bmp there when the run keeps screenshots.
void Screenshot(HWND window, const std::string& name);

}  // namespace e2e
