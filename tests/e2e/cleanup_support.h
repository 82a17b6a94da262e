// Watching the clean-up chain from outside: the temporary programs it
// leaves in a temporary folder, the batch file in a drive's root, and
// processes that the tests did not start themselves.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class TempFolder;

// A copy of decoder.exe in the folder under a name not used before: every
// run of the dialog or check form ends with its program file deleted, so
// each run needs a copy of its own.
std::string FreshCopyOfDecoder(const TempFolder& folder);

// The temporary folder as the programs see it, without a final backslash.
std::string TemporaryFolder();
// "C:\" for a path on drive C.
std::string DriveRoot(const std::string& path);

// The decoder copies (DEC*.exe) and clean-up copies (Del*.exe) in folder.
std::vector<std::string> TemporaryPrograms(const std::string& folder);

// Waits until folder holds no temporary program and root no delus.bat.
// Gives the milliseconds it took, or -1 when something was still there
// at the deadline.
long WaitForCleanUp(const std::string& folder, const std::string& root, DWORD milliseconds = 30000);
// Waits until the file is gone; false at the deadline.
bool WaitForDeletion(const std::string& path, DWORD milliseconds = 20000);
bool FileExists(const std::string& path);
// WaitForCleanUp in the temporary folder and its drive's root: true once
// the clean-up chains of the runs so far have finished.
bool CleanUpFinished(DWORD milliseconds = 30000);

// A visible dialog of any process with this title; the process id goes
// to *process_id.
HWND WaitForDialogOfAnyProcess(const std::string& title, DWORD* process_id, DWORD milliseconds = 30000);
// Waits until the process with that id has ended; true if it has.
bool WaitForProcessEnd(DWORD process_id, DWORD milliseconds = 20000);
// Waits until the window is gone; true if it is.
bool WaitForWindowGone(HWND window, DWORD milliseconds = 20000);

// Points TMP and TEMP at another folder for the programs started while
// it lives (they inherit this process's environment).
class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::string& folder);
  ~TemporaryFolderOverride();

 private:
  std::string old_tmp_, old_temp_;
  bool had_tmp_ = false, had_temp_ = false;
};

}  // namespace e2e
