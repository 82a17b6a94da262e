// The run's language setting reaches the program: the test run names the
// OEM code page it set up, and everything else compares against texts of
// that language.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdlib>

#include "e2e_support.h"

TEST(Environment, OemCodePageIsTheOneTheRunSetUp) {
  const char* wanted = getenv("KELVARIN_E2E_CODE_PAGE");
  ASSERT_NE(wanted, nullptr) << "the test run must say which code page it set up";
  EXPECT_EQ(GetOEMCP(), static_cast<UINT>(atoi(wanted)));
}

// The decoded files' creation times are compared only where the file
// system keeps them; where it does not, this test says so as a skip.
TEST(Environment, FileSystemKeepsCreationTimes) {
  e2e::TempFolder folder;
  if (!e2e::CreationTimesStick(folder.path())) {
    GTEST_SKIP() << "this file system, under Wine, does not keep a creation time that a program sets: the tests"
                    " compare the last access and last write times only";
  }
}
