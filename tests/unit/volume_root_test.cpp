// The root of the Windows folder's drive, with a single-byte and a
// Shift-JIS reading of the folder text.
#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "ui/volume_root.h"

namespace {

bool NoLeadBytes(unsigned char) { return false; }
bool ShiftJisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::string Root(const std::string& folder, ui::LeadBytePredicate is_lead_byte = NoLeadBytes, int capacity = 261) {
  char buffer[300];
  memset(buffer, '#', sizeof buffer);
  strcpy(buffer, folder.c_str());
  ui::CutToVolumeRoot(buffer, capacity, is_lead_byte);
  EXPECT_EQ(buffer[capacity], '#') << "written past the capacity";
  return buffer;
}

TEST(VolumeRoot, CutRightAfterTheLastBackslash) {
  EXPECT_EQ(Root("C:\\WINDOWS"), "C:\\");
  EXPECT_EQ(Root("D:\\OS\\WINNT"), "D:\\OS\\");
  EXPECT_EQ(Root("C:\\"), "C:\\");
  EXPECT_EQ(Root("\\\\server\\share\\WINDOWS"), "\\\\server\\share\\");
}

TEST(VolumeRoot, FolderWithoutABackslashGetsOne) {
  EXPECT_EQ(Root("C:"), "C:\\");
  EXPECT_EQ(Root(""), "\\");
  EXPECT_EQ(Root("C:", NoLeadBytes, 3), "C:") << "no room for the backslash and its terminator";
}

TEST(VolumeRoot, SecondByteOfADoubleByteCharacterIsNoBackslash) {
  // "D:\ソフト" in Shift-JIS: ソ is 0x83 0x5C.
  const std::string folder = "D:\\\x83\x5C\x83\x74\x83\x67";
  EXPECT_EQ(Root(folder, ShiftJisLeadByte), "D:\\");
  EXPECT_EQ(Root(folder, NoLeadBytes), "D:\\\x83\\") << "read byte by byte it would be";
  EXPECT_EQ(Root("\x83\x5C", ShiftJisLeadByte), "\x83\x5C\\");
  // A lead byte at the very end is not read past.
  EXPECT_EQ(Root("C:\\WIN\x83", ShiftJisLeadByte), "C:\\");
}

}  // namespace
