#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "shell/temp_names.h"

namespace {

std::string Replaced(const std::string& name, const char* extension = ".exe", bool* whole = nullptr) {
  char buffer[300] = {};
  strcpy(buffer, name.c_str());
  const bool replaced = shell::ReplaceExtension(buffer, 260, extension);
  if (whole) *whole = replaced;
  return buffer;
}

TEST(TempNames, OnlyThePartFromTheLastDotIsReplaced) {
  EXPECT_EQ(Replaced("C:\\Temp\\DEC1A2B.tmp"), "C:\\Temp\\DEC1A2B.exe");
  EXPECT_EQ(Replaced("C:\\my.folder\\Del3.tmp"), "C:\\my.folder\\Del3.exe");
  EXPECT_EQ(Replaced("C:\\Temp\\DEC1.a.b"), "C:\\Temp\\DEC1.a.exe");
  EXPECT_EQ(Replaced("DEC1."), "DEC1.exe");
  EXPECT_EQ(Replaced("a.tmp"), "a.exe") << "the second character is looked at";
  bool whole = false;
  EXPECT_EQ(Replaced("C:\\Temp\\Del4.tmp", ".bat", &whole), "C:\\Temp\\Del4.bat");
  EXPECT_TRUE(whole);
}

TEST(TempNames, NameWithoutADotAfterItsFirstCharacterStaysUnchanged) {
  EXPECT_EQ(Replaced("C:\\Temp\\DEC1A2B"), "C:\\Temp\\DEC1A2B");
  EXPECT_EQ(Replaced(".tmp"), ".tmp") << "the first character is never looked at";
  EXPECT_EQ(Replaced(""), "");
  bool whole = true;
  Replaced("C:\\Temp\\DEC1A2B", ".bat", &whole);
  EXPECT_FALSE(whole) << "no extension was put in place";
}

TEST(TempNames, LongerExtensionNeverRunsPastTheBuffer) {
  std::string name = std::string(256, 'a') + ".t";  // 258 characters
  bool whole = true;
  EXPECT_EQ(Replaced(name, ".exe", &whole), std::string(256, 'a') + ".ex");
  EXPECT_FALSE(whole) << "a cut extension is reported";
}

}  // namespace
