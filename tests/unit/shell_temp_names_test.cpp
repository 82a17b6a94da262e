#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "shell/temp_names.h"

namespace {

// Only the part from the last dot after the first character is replaced,
// and never past the buffer; the result says whether the whole extension
// went in.
TEST(TempNames, OnlyThePartFromTheLastDotIsReplacedAndNeverPastTheBuffer) {
  const struct {
    std::string name;
    const char* extension;
    std::string expected;
    bool whole;
  } cases[] = {
      {"C:\\Temp\\DEC1A2B.tmp", ".exe", "C:\\Temp\\DEC1A2B.exe", true},
      {"C:\\my.folder\\Del3.tmp", ".exe", "C:\\my.folder\\Del3.exe", true},
      {"C:\\Temp\\DEC1.a.b", ".exe", "C:\\Temp\\DEC1.a.exe", true},
      {"DEC1.", ".exe", "DEC1.exe", true},
      {"a.tmp", ".exe", "a.exe", true},  // the second character is looked at
      {"C:\\Temp\\Del4.tmp", ".bat", "C:\\Temp\\Del4.bat", true},
      {"C:\\Temp\\DEC1A2B", ".bat", "C:\\Temp\\DEC1A2B", false},
      {".tmp", ".exe", ".tmp", false},  // the first character is never looked at
      {"", ".exe", "", false},
      {std::string(256, 'a') + ".t", ".exe", std::string(256, 'a') + ".ex", false},  // cut at 260
  };
  for (const auto& c : cases) {
    char buffer[300] = {};
    strcpy(buffer, c.name.c_str());
    EXPECT_EQ(shell::ReplaceExtension(buffer, 260, c.extension), c.whole) << c.name;
    EXPECT_EQ(buffer, c.expected) << c.name;
  }
}

}  // namespace
