// The run's language setting reaches the program: the test run names the
// OEM code page it set up, and everything else compares against texts of
// that language.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdlib>

TEST(Environment, OemCodePageIsTheOneTheRunSetUp) {
  const char* wanted = getenv("KELVARIN_E2E_CODE_PAGE");
  ASSERT_NE(wanted, nullptr) << "the test run must say which code page it set up";
  EXPECT_EQ(GetOEMCP(), static_cast<UINT>(atoi(wanted)));
}
