// The clean-up chain in the end-to-end tests: the watch of the window
// driver as test results, and the fixture that lets no test start before
// the chains of the one before it have finished.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "window_driver/cleanup_watch.h"

namespace e2e {

using namespace window_driver;

// window_driver::CleanUpFinished, as a test result.
::testing::AssertionResult CleanUpFinished(const std::string& folder = TemporaryFolder(), bool root_batch_too = true);

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
