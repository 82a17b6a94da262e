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

// Cut right after the last backslash, one added when there is none (if
// it fits); the second byte of a double-byte character is no backslash.
TEST(VolumeRoot, CutRightAfterTheLastBackslash) {
  // "D:\ソフト" in Shift-JIS: ソ is 0x83 0x5C.
  const std::string soft = "D:\\\x83\x5C\x83\x74\x83\x67";
  const struct {
    std::string folder;
    ui::LeadBytePredicate lead_byte;
    std::string root;
    int capacity = 261;
  } cases[] = {
      {"C:\\WINDOWS", NoLeadBytes, "C:\\"},
      {"D:\\OS\\WINNT", NoLeadBytes, "D:\\OS\\"},
      {"C:\\", NoLeadBytes, "C:\\"},
      {"\\\\server\\share\\WINDOWS", NoLeadBytes, "\\\\server\\share\\"},
      {"C:", NoLeadBytes, "C:\\"},
      {"", NoLeadBytes, "\\"},
      {"C:", NoLeadBytes, "C:", 3},  // no room for the backslash and its terminator
      {soft, ShiftJisLeadByte, "D:\\"},
      {soft, NoLeadBytes, "D:\\\x83\\"},  // read byte by byte
      {"\x83\x5C", ShiftJisLeadByte, "\x83\x5C\\"},
      {"C:\\WIN\x83", ShiftJisLeadByte, "C:\\"},  // a lead byte at the very end is not read past
  };
  for (const auto& c : cases) EXPECT_EQ(Root(c.folder, c.lead_byte, c.capacity), c.root) << c.folder;
}

}  // namespace
