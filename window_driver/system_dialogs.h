// Answering the system's dialogs that a decode opens, as a user would, but
// only after reading back what the dialog holds: a test (or the demo)
// never presses OK on a file name or folder it did not verify.
#pragma once

#include <windows.h>
#include <functional>
#include <string>

#include "window_driver/outcome.h"

namespace window_driver {

// Answers the Save-As dialog of the process (its title given, not
// `except`): types the path, checks that the file name edit holds it,
// presses Save and waits until the dialog has closed. An empty path
// cancels. A failure says what the dialog showed instead.
Outcome AnswerSaveAs(DWORD process_id, const std::string& title, HWND except, const std::string& path);

// Accepts the folder browser of the process once its selection is the
// folder `expected`, or cancels it when expected is empty. When the
// selection is another folder at the deadline, the browser is cancelled
// and the failure names the folder it had selected. `verified` is called
// with the browser once its selection has been checked; the selection is
// checked again after it, before OK.
Outcome AnswerFolderBrowser(DWORD process_id, const std::string& expected,
                            const std::function<void(HWND)>& verified = nullptr);

// The folder browser of the process (its title is localised, so it is
// found by its tree view), or null.
HWND FindFolderBrowser(DWORD process_id);
// The path of the folder the browser has selected, read from the
// browser's own memory; empty when nothing is selected.
std::string SelectedFolder(HWND browser);

}  // namespace window_driver
