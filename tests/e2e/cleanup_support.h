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

// The decoder copies (DEC*.exe) and clean-up copies (Del*.exe) in folder.
std::vector<std::string> TemporaryPrograms(const std::string& folder);

// Waits until the clean-up chains have removed everything they leave for
// a while: the decoder and clean-up copies, their batch files and name
// placeholders (Del*.bat, Del*.tmp) in folder, and "delus.bat" in its
// drive's root (unless root_batch_too is false). A failure names every
// file still there at the deadline.
::testing::AssertionResult CleanUpFinished(const std::string& folder = TemporaryFolder(), bool root_batch_too = true);

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
  explicit TemporaryFolderOverride(const std::string& folder) { Point(folder); }
  ~TemporaryFolderOverride() { Point(old_); }

 private:
  static void Point(const std::string& folder);
  const std::string old_ = TemporaryFolder();
};

}  // namespace e2e
