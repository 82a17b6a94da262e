#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/temp_names.h"

namespace {

std::string Replaced(const std::string& name, int capacity = 260) {
  char buffer[300] = {};
  strcpy(buffer, name.c_str());
  shell::ReplaceExtensionWithExe(buffer, capacity);
  return buffer;
}

TEST(TempNames, OnlyThePartFromTheLastDotIsReplaced) {
  EXPECT_EQ(Replaced("C:\\Temp\\DEC1A2B.tmp"), "C:\\Temp\\DEC1A2B.exe");
  EXPECT_EQ(Replaced("C:\\my.folder\\Del3.tmp"), "C:\\my.folder\\Del3.exe");
  EXPECT_EQ(Replaced("C:\\Temp\\DEC1.a.b"), "C:\\Temp\\DEC1.a.exe");
  EXPECT_EQ(Replaced("DEC1."), "DEC1.exe");
  EXPECT_EQ(Replaced("a.tmp"), "a.exe") << "the second character is looked at";
}

TEST(TempNames, NameWithoutADotAfterItsFirstCharacterStaysUnchanged) {
  EXPECT_EQ(Replaced("C:\\Temp\\DEC1A2B"), "C:\\Temp\\DEC1A2B");
  EXPECT_EQ(Replaced(".tmp"), ".tmp") << "the first character is never looked at";
  EXPECT_EQ(Replaced(""), "");
}

TEST(TempNames, LongerExtensionNeverRunsPastTheBuffer) {
  std::string name = std::string(256, 'a') + ".t";  // 258 characters
  EXPECT_EQ(Replaced(name), std::string(256, 'a') + ".ex");
}

}  // namespace
