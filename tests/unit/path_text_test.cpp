// The lead-byte rule of the double-byte code pages, and the path cutting
// that uses it, read as Shift-JIS and as a single-byte code page.
#include <gtest/gtest.h>
#include <cstring>
#include <string>

#include "base/lead_bytes.h"
#include "base/path_text.h"

namespace {

const base::LeadBytes kShiftJis = base::LeadBytes::OfCodePage(932);
const base::LeadBytes kWestern = base::LeadBytes::OfCodePage(1252);

// The edges of Shift-JIS's two ranges, and the bytes between them that
// stand alone (half-width katakana A1-DF, and 80, A0, FD-FF).
TEST(LeadBytes, ShiftJisLeadsAtTheEdgesOfItsRangesAndSingleByteCodePagesNever) {
  for (unsigned char lead : {0x81, 0x83, 0x95, 0x9F, 0xE0, 0xEA, 0xFC}) {
    EXPECT_TRUE(kShiftJis.IsLead(lead)) << int{lead};
    EXPECT_FALSE(kWestern.IsLead(lead)) << int{lead};
  }
  for (unsigned char single : {0x00, 0x5C, 0x7F, 0x80, 0xA0, 0xA1, 0xB6, 0xDF, 0xFD, 0xFF}) {
    EXPECT_FALSE(kShiftJis.IsLead(single)) << int{single};
  }
  EXPECT_TRUE(base::LeadBytes::OfCodePage(936).IsLead(0xFE));
  EXPECT_FALSE(base::LeadBytes::OfCodePage(65001).Any());
  // A lead byte before the terminator stands alone.
  EXPECT_EQ(kShiftJis.CharLength("\x83\x5C"), 2u);
  EXPECT_EQ(kShiftJis.CharLength("\x83"), 1u);
  EXPECT_EQ(kWestern.CharLength("\x83\x5C"), 1u);
}

TEST(PathText, ATrailByteThatLooksLikeABackslashEndsNoFolder) {
  EXPECT_TRUE(base::EndsWithSeparator("C:\\out\\", '\\', kShiftJis));
  EXPECT_FALSE(base::EndsWithSeparator("C:\\out\\\x95\x5C", '\\', kShiftJis));  // 表
  EXPECT_TRUE(base::EndsWithSeparator("C:\\out\\\x95\x5C", '\\', kWestern));
  EXPECT_TRUE(base::EndsWithSeparator("C:\\\x95\x5C\\", '\\', kShiftJis));
  EXPECT_FALSE(base::EndsWithSeparator("", '\\', kShiftJis));
}

std::string Root(const std::string& folder, const base::LeadBytes& lead, int capacity = 261) {
  char buffer[300];
  memset(buffer, '#', sizeof buffer);
  strcpy(buffer, folder.c_str());
  base::CutToVolumeRoot(buffer, capacity, lead);
  EXPECT_EQ(buffer[capacity], '#') << "written past the capacity";
  return buffer;
}

// Cut right after the last backslash, one added when there is none (if
// it fits); the second byte of a double-byte character is no backslash.
TEST(PathText, VolumeRootIsCutRightAfterTheLastBackslash) {
  // "D:\ソフト" in Shift-JIS: ソ is 0x83 0x5C.
  const std::string soft = "D:\\\x83\x5C\x83\x74\x83\x67";
  const struct {
    std::string folder;
    const base::LeadBytes& lead;
    std::string root;
    int capacity = 261;
  } cases[] = {
      {"C:\\WINDOWS", kWestern, "C:\\"},
      {"D:\\OS\\WINNT", kWestern, "D:\\OS\\"},
      {"C:\\", kWestern, "C:\\"},
      {"\\\\server\\share\\WINDOWS", kWestern, "\\\\server\\share\\"},
      {"C:", kWestern, "C:\\"},
      {"", kWestern, "\\"},
      {"C:", kWestern, "C:", 3},  // no room for the backslash and its terminator
      {soft, kShiftJis, "D:\\"},
      {soft, kWestern, "D:\\\x83\\"},  // read byte by byte
      {"\x83\x5C", kShiftJis, "\x83\x5C\\"},
      {"C:\\WIN\x83", kShiftJis, "C:\\"},  // a lead byte at the very end is not read past
  };
  for (const auto& c : cases) EXPECT_EQ(Root(c.folder, c.lead, c.capacity), c.root) << c.folder;
}

}  // namespace
