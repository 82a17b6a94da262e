// Watching the clean-up chain from outside: the temporary programs and
// batch files it leaves in a temporary folder and a drive's root.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "window_driver/outcome.h"

namespace window_driver {

// The temporary folder as the programs see it, without a final backslash.
std::string TemporaryFolder();
// "C:\" for a path on drive C.
std::string DriveRoot(const std::string& path);

// The decoder copies (DEC*.exe) and clean-up copies (Del*.exe) in folder.
std::vector<std::string> TemporaryPrograms(const std::string& folder);
// Everything a chain leaves for a while: the copies, their batch files and
// name placeholders (Del*.bat, Del*.tmp) in folder, and "delus.bat" in its
// drive's root (unless root_batch_too is false).
std::vector<std::string> ChainFiles(const std::string& folder, bool root_batch_too);

// Waits until the clean-up chains have removed all of ChainFiles. A
// failure names every file still there at the deadline.
Outcome CleanUpFinished(const std::string& folder = TemporaryFolder(), bool root_batch_too = true);

// Waits until the file is gone; false at the deadline.
bool WaitForDeletion(const std::string& path, DWORD milliseconds = 20000);

}  // namespace window_driver
