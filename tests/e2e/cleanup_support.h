// Watching the clean-up chain from outside: the temporary programs and
// batch files it leaves in a temporary folder and a drive's root, and the
// fixture that lets no test start before the chains of the one before it
// have finished.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace e2e {

// The temporary folder as the programs see it, without a final backslash.
std::string TemporaryFolder();
// "C:\" for a path on drive C.
std::string DriveRoot(const std::string& path);

// What a clean-up chain has not removed yet: decoder copies (DEC*.exe),
// clean-up copies (Del*.exe), their batch files and name placeholders
// (Del*.bat, Del*.tmp) in folder, and "delus.bat" in root (unless
// root_batch_too is false).
std::vector<std::string> ChainFiles(const std::string& folder, const std::string& root, bool root_batch_too = true);
// The decoder and clean-up copies alone.
std::vector<std::string> TemporaryPrograms(const std::string& folder);

// Waits until no chain file is left. Gives what was still there at the
// deadline, so nothing once the chains have finished.
std::vector<std::string> WaitForCleanUp(const std::string& folder, const std::string& root,
                                        DWORD milliseconds = 30000, bool root_batch_too = true);
// The same in this run's temporary folder and its drive's root, as an
// assertion that names every file left.
::testing::AssertionResult CleanUpFinished(DWORD milliseconds = 30000);

// Waits until the file is gone; false at the deadline.
bool WaitForDeletion(const std::string& path, DWORD milliseconds = 20000);

// Base of every test that starts the program: after the test, the clean-up
// chains it started must finish before the next test begins. A leftover
// fails the test that left it, and is removed so that the next one starts
// clean.
class ProgramTest : public ::testing::Test {
 protected:
  void TearDown() override;
};

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
